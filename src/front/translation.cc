#include "front/translation.h"

#include "lexer/sjis_texts.h"
#include "text/words.h"

namespace zemuc {
namespace {

// The translator's words for a rejected line, with the line's place, on
// one line: "prog.zem:2: 次の行おかしい: 見る();".
void report_failure(const std::string& source_name,
                    const Translation& translation, Reporter& reporter) {
  const Encoding terminal = reporter.terminal();
  if (translation.rejected.number == 0) {
    // In memory only a rejected line fails; should anything else, the
    // console says what.
    reporter.write(sjis_for_terminal(translation.console, terminal));
    return;
  }
  const std::string_view words =
      sjis::kBadLine.substr(0, sjis::kBadLine.size() - 1);  // no line feed
  reporter.write(
      source_name + ":" + std::to_string(translation.rejected.number) + ": " +
      sjis_for_terminal(words, terminal) + ": " +
      sjis_for_terminal(trimmed(translation.rejected.text), terminal) + "\n");
}

}  // namespace

std::optional<Translation> translate_source(const std::string& source_name,
                                            const std::string& source,
                                            Reporter& reporter) {
  Translation translation = translate_in_memory(source_name, source);
  if (!report_translation(source_name, translation, reporter)) {
    return std::nullopt;
  }
  return translation;
}

bool report_translation(const std::string& source_name,
                        const Translation& translation, Reporter& reporter) {
  if (translation.status == kStatusOk) return true;
  report_failure(source_name, translation, reporter);
  return false;
}

}  // namespace zemuc
