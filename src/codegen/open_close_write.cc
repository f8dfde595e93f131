#include "codegen/echo.h"
#include "codegen/generators.h"
#include "lexer/sjis_texts.h"

namespace zemuc {

int gen_open(const Context& ctx, std::size_t k, Output& out) {
  write_leading_echo(ctx.line, k, out);
  // The first entry of a file name wins, also for a second opening line.
  const std::size_t f = find_file(ctx.tables, ctx.line.token(k + 1));
  if (f == 0) return kStatusOk;
  const FileEntry& file = ctx.tables.files[f];
  const CName handle = ctx.tables.files.var(f);
  if (file.prop != kReadMode) {
    out << handle << " = fopen(" << file.fname << ",\"w\");\n";
    return kStatusOk;
  }
  // A file that cannot be read jumps to the common error exit. The echo
  // stands before every line of the block.
  out << "if((" << handle << " = fopen(" << file.fname
      << ",\"r\")) == NULL){\n";
  write_leading_echo(ctx.line, k, out);
  out << "\tprintf(\"" << sjis::kNoFileMessage << "\", " << file.fname
      << ");\n";
  write_leading_echo(ctx.line, k, out);
  out << "\tgoto ERROR_END;\n";
  write_leading_echo(ctx.line, k, out);
  out << "}\n";
  return kStatusOk;
}

int gen_close(const Context& ctx, std::size_t k, Output& out) {
  write_leading_echo(ctx.line, k, out);
  if (const std::size_t f = find_file(ctx.tables, ctx.line.token(k + 1));
      f != 0) {
    out << "fclose(" << ctx.tables.files.var(f) << ");\n";
  }
  return kStatusOk;
}

int gen_write(const Context& ctx, std::size_t k, Output& out) {
  write_leading_echo(ctx.line, k, out);
  const std::size_t f = find_file(ctx.tables, ctx.line.token(k + 1));
  if (f == 0) return kStatusOk;
  const std::size_t v = find_variable(ctx.tables, ctx.line.token(k + 2));
  if (v == 0) return kStatusOk;
  const VariableTable& variables = ctx.tables.variables;
  out << "fprintf(" << ctx.tables.files.var(f) << ", "
      << (variables[v].prop == kNumeric ? "\"%d\\n\"" : "\"%s\\n\"") << ", "
      << variables.c_name(v) << ");\n";
  return kStatusOk;
}

}  // namespace zemuc
