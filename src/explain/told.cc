#include "explain/told.h"

#include <algorithm>
#include <string_view>

#include "program/copy.h"
#include "text/diagnostic.h"

namespace zemuc::explain {
namespace {

constexpr Text kCompilerSays = {"コンパイラ: {}", "the compiler: {}"};

}  // namespace

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
  std::string text = told.text;
  if (!told.file.empty()) {
    out = told.file;
    if (told.line != 0) out += ':' + std::to_string(told.line);
    if (told.column != 0) out += ':' + std::to_string(told.column);
    out += ": ";
  } else if (told.frame) {
    out = program.source_name() + ": ";
    text = fill(kInFrame, language, {told.text});
  } else if (told.whole_program) {
    out = program.source_name() + ": ";
  } else {
    out = "zemuc: ";
    text = fill(kCompilerSays, language, {told.text});
  }
  out += kind;
  out += ": ";
  out += convert_text(text, Encoding::kUtf8, terminal);
  out += '\n';
  return out;
}

}  // namespace zemuc::explain
