#include "codegen/generators.h"

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
  // Read once: the bytes written could otherwise be the line's own.
  const std::string_view* const tokens = line.tokens.data();
  const char* const delims = line.delims.data();
  const std::size_t count = line.count;
  // Tokens with their delimiters are one piece of memory, so what lies
  // between two variables goes out as one run, as it stands.
  const char* run = tokens[1].data();
  for (std::size_t i = 1; i <= count; ++i) {
    const std::string_view token = tokens[i];
    const std::size_t e = find_variable(ctx.tables, token);
    if (e == 0) continue;
    out << std::string_view(run, token.data() - run);
    if (variables[e].prop == kString && delims[i] == '=') {
      // The '=' and the source's own delimiter are consumed by the copy.
      ++i;
      write_string_copy(ctx, variables.c_name(e), i, out);
      run = tokens[i].data() + tokens[i].size() + 1;
    } else {
      out << variables.c_name(e);
      run = token.data() + token.size();  // its delimiter starts the next run
    }
  }
  // The line up to its last delimiter; a line that ';' ends gets a line
  // feed in place of what followed.
  const char* const end = tokens[count].data() + tokens[count].size() + 1;
  if (run < end) out << std::string_view(run, end - run);
  if (delims[count] == ';') out << '\n';
  return kStatusOk;
}

}  // namespace zemuc
