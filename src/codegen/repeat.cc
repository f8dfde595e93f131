#include "codegen/echo.h"
#include "codegen/generators.h"

namespace zemuc {

int gen_repeat(Context& ctx, std::size_t k, Output& out) {
  CounterTable& counters = ctx.tables.counters;
  const CName counter = counters.var(++counters.count);
  write_leading_echo(ctx.line, k, out);
  out << "for(" << counter << " = 1 ; " << counter << " <= ";
  // A bound that names a variable, of either kind, becomes its C name.
  const std::string_view bound = ctx.line.token(k + 1);
  if (const std::size_t j = find_variable(ctx.tables, bound); j != 0) {
    out << ctx.tables.variables.c_name(j);
  } else {
    out << bound;
  }
  out << " ; " << counter << "++) {\n";
  return kStatusOk;
}

}  // namespace zemuc
