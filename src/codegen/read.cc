#include "codegen/echo.h"
#include "codegen/generators.h"
#include "lexer/sjis_texts.h"

namespace zemuc {
namespace {

// The assignment of the line just read: atoi for a numeric variable, a copy
// without the line end for a string variable, nothing for an unknown name.
void write_assignment(const Context& ctx, std::size_t k, Output& out) {
  const std::size_t v = find_variable(ctx.tables, ctx.line.token(k + 2));
  if (v == 0) return;
  const VariableTable& variables = ctx.tables.variables;
  if (variables[v].prop == kNumeric) {
    out << variables.c_name(v) << " = atoi(dummy);\n";
  } else {
    out << "delkai(dummy);strcpy(" << variables.c_name(v) << ", dummy);\n";
  }
}

// The Leading echo and the line that reads with fgets from the file, token
// k+1, between `before` and `after`. An unknown file leaves out that line
// only; the rest of the statement is still written.
void write_fgets_line(const Context& ctx, std::size_t k, const char* before,
                      const char* after, Output& out) {
  write_leading_echo(ctx.line, k, out);
  if (const std::size_t f = find_file(ctx.tables, ctx.line.token(k + 1));
      f != 0) {
    out << before << "fgets(dummy, 80, " << ctx.tables.files.var(f) << after;
  }
}

}  // namespace

int gen_read(const Context& ctx, std::size_t k, Output& out) {
  write_fgets_line(ctx, k, "if( ", ") == NULL) {\n", out);
  write_leading_echo(ctx.line, k, out);
  out << "\tprintf(\"" << sjis::kReadTooFar << "\");\n";
  write_leading_echo(ctx.line, k, out);
  out << "\tgoto ERROR_END;\n";
  write_leading_echo(ctx.line, k, out);
  out << "}\n";
  write_leading_echo(ctx.line, k, out);
  write_assignment(ctx, k, out);
  return kStatusOk;
}

int gen_read_all(const Context& ctx, std::size_t k, Output& out) {
  write_fgets_line(ctx, k, "while( ", ") != NULL) {\n", out);
  write_leading_echo(ctx.line, k, out);
  out << "    ";
  write_assignment(ctx, k, out);
  return kStatusOk;
}

}  // namespace zemuc
