#include "codegen/echo.h"
#include "codegen/generators.h"

namespace zemuc {

int gen_display(const Context& ctx, std::size_t k, Output& out) {
  const TokenLine& line = ctx.line;
  const VariableTable& variables = ctx.tables.variables;
  write_leading_echo(line, k, out);
  bool found = false;
  for (std::size_t t = k + 1; t <= line.count; ++t) {
    const std::size_t e = find_variable(ctx.tables, line.tokens[t]);
    if (e == 0) continue;
    found = true;
    // The label is the token before the variable, written as it stands.
    out << "printf("
        << (variables[e].prop == kNumeric ? "\"%s[%d]\\n\"" : "\"%s[%s]\\n\"")
        << ", " << line.tokens[t - 1] << ", " << variables.c_name(e) << ");\n";
  }
  if (found) return kStatusOk;
  // Without a variable the line shows one text, which must not be empty.
  if (line.length(k + 1) < 1) return kStatusFailed;
  out << "printf(\"%s\\n\", " << line.token(k + 1) << ");\n";
  return kStatusOk;
}

int gen_input(const Context& ctx, std::size_t k, Output& out) {
  const TokenLine& line = ctx.line;
  const VariableTable& variables = ctx.tables.variables;
  write_leading_echo(line, k, out);
  for (std::size_t t = k + 1; t <= line.count; ++t) {
    const std::size_t e = find_variable(ctx.tables, line.tokens[t]);
    if (e == 0) continue;
    out << "scanf(" << (variables[e].prop == kNumeric ? "\"%d\"" : "\"%s\"")
        << ", &" << variables.c_name(e) << ");\n";
  }
  return kStatusOk;
}

}  // namespace zemuc
