#include "explain/told.h"

#include <algorithm>
#include <string_view>

#include "program/copy.h"
#include "text/diagnostic.h"

namespace zemuc::explain {
namespace {

constexpr Text kCompilerSays = {"コンパイラ: {}", "the compiler: {}"};

}  // namespace

std::string told_words(const Told& told, Language language) {
  // On its source line, or in another file, or of the whole program.
  if (told.line != 0 || !told.file.empty() || told.whole_program) {
    return told.text;
  }
  if (told.frame) return fill(kInFrame, language, {told.text});
  return fill(kCompilerSays, language, {told.text});
}

std::string render(const Program& program, const Told& told, Language language,
                   Encoding terminal) {
  const std::string_view kind =
      told.severity == Severity::kWarning ? "warning" : "error";
  if (told.line != 0 && told.file.empty()) {
    return render_diagnostic(program.source_name(), told.line,
                             std::max<std::size_t>(told.column, 1), kind,
                             told.text, program.line(told.line).raw, terminal);
  }
  std::string out;
  if (!told.file.empty()) {
    out = told.file;
    if (told.line != 0) out += ':' + std::to_string(told.line);
    if (told.column != 0) out += ':' + std::to_string(told.column);
    out += ": ";
  } else if (told.frame || told.whole_program) {
    out = program.source_name() + ": ";
  } else {
    out = "zemuc: ";
  }
  out += kind;
  out += ": ";
  out += convert_text(told_words(told, language), Encoding::kUtf8, terminal);
  out += '\n';
  return out;
}

}  // namespace zemuc::explain
