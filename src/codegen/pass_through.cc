#include "codegen/pass_through.h"

namespace zemuc {
namespace {

// Writes the string assignment whose target is `target` and whose source is
// token i, a literal or a variable of either kind.
void write_string_copy(const Context& ctx, CName target, std::size_t i,
                       Output& out) {
  const std::string_view source = ctx.line.token(i);
  out << "strcpy(" << target << ',';
  if (const std::size_t j = find_variable(ctx.tables, source); j != 0) {
    out << ctx.tables.variables.var(j);
  } else {
    out << source;
  }
  out << ");";
}

}  // namespace

int gen_pass_through(const Context& ctx, Output& out) {
  const TokenLine& line = ctx.line;
  const VariableTable& variables = ctx.tables.variables;
  for (std::size_t i = 1; i <= line.count; ++i) {
    const std::size_t e = find_variable(ctx.tables, line.tokens[i]);
    if (e != 0 && variables[e].prop == kString && line.delims[i] == '=') {
      // The '=' and the source's own delimiter are consumed by the copy.
      ++i;
      write_string_copy(ctx, variables.var(e), i, out);
    } else if (e != 0) {
      out << variables.var(e) << line.delims[i];
    } else {
      out << line.tokens[i] << line.delims[i];
    }
    if (line.delim(i) == ';') {
      out << '\n';
      break;
    }
  }
  return kStatusOk;
}

}  // namespace zemuc
