#include "codegen/pass_through.h"

namespace zemuc {
namespace {

// Writes the string assignment whose target is `target` and whose source is
// token i, a literal or a variable of either kind.
void write_string_copy(const Context& ctx, std::string_view target,
                       std::size_t i, Output& out) {
  const std::string_view source = ctx.line.token(i);
  out << "strcpy(" << target << ',';
  if (const std::size_t j = find_variable(ctx.tables, source); j != 0) {
    out << ctx.tables.variables.c_name(j);
  } else {
    out << source;
  }
  out << ");";
}

}  // namespace

int gen_pass_through(const Context& ctx, Output& out) {
  const TokenLine& line = ctx.line;
  const VariableTable& variables = ctx.tables.variables;
  // Tokens with their delimiters are one piece of memory, so what lies
  // between two variables goes out as one run, as it stands.
  const char* run = line.tokens[1].data();
  for (std::size_t i = 1; i <= line.count; ++i) {
    const std::string_view token = line.tokens[i];
    const std::size_t e = find_variable(ctx.tables, token);
    if (e == 0) continue;
    out << std::string_view(run, token.data() - run);
    if (variables[e].prop == kString && line.delims[i] == '=') {
      // The '=' and the source's own delimiter are consumed by the copy.
      ++i;
      write_string_copy(ctx, variables.c_name(e), i, out);
      run = line.tokens[i].data() + line.tokens[i].size() + 1;
    } else {
      out << variables.c_name(e);
      run = token.data() + token.size();  // its delimiter starts the next run
    }
  }
  // The line up to its last delimiter; a line that ';' ends gets a line
  // feed in place of what followed.
  const std::string_view last = line.tokens[line.count];
  const char* const end = last.data() + last.size() + 1;
  if (run < end) out << std::string_view(run, end - run);
  if (line.delims[line.count] == ';') out << '\n';
  return kStatusOk;
}

}  // namespace zemuc
