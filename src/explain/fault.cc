// A run-time fault told on its source line: the kind's words, the likely
// cause, and where the whole report is kept.
#include "explain/fault.h"

#include <algorithm>

#include "explain/fault_parts.h"
#include "text/diagnostic.h"

namespace zemuc::explain {
namespace {

constexpr Text kLikelyCause = {
    "{} に値を入れる前に使っているので、それが原因でしょう",
    "{} is used here before it gets a value, which is the likely cause"};
constexpr Text kSecondSentence = {"{}。{}", "{}; {}"};
constexpr Text kKeptAt = {"検査の報告の全文: {}",
                          "the checks' whole report: {}"};

// `text` with the likely cause where the build warned that a variable on
// the fault's line is used before it gets a value: any such variable, but
// for a divisor of its own that is 0, only that one.
std::string with_likely_cause(const Fault& fault, std::string text,
                              std::span<const ValueMissing> values_missing) {
  const std::string divisor = divisor_of(fault);
  std::string names;
  for (const ValueMissing& missing : values_missing) {
    if (missing.line != fault.where.place.line) continue;
    if (!divisor.empty() && missing.name != divisor) continue;
    if (!names.empty()) names += pick(fault.language, "、", ", ");
    names += missing.name;
  }
  if (names.empty()) return text;
  return fill(kSecondSentence, fault.language,
              {text, fill(kLikelyCause, fault.language, {names})});
}

}  // namespace

std::string explain_fault(const Program& program, const CopyMap& map,
                          const SanitizerReport& report,
                          std::string_view kept_at, Language language,
                          Encoding terminal,
                          std::span<const ValueMissing> values_missing) {
  const Where where = where_of(program, map, report);
  const Fault fault{program, report, where, language};
  std::string text = tell_fault(fault);
  std::string out;
  if (where.place.line != 0 && !where.frame) {
    text = with_likely_cause(fault, std::move(text), values_missing);
    // A file statement's fault is shown at the file's name.
    std::size_t column = std::max<std::size_t>(where.place.column, 1);
    out = render_diagnostic(program.source_name(), where.place.line, column,
                            "error", text, program.line(where.place.line).raw,
                            terminal);
  } else {
    if (where.frame) text = fill(kInFrame, language, {text});
    out = program.source_name() +
          ": error: " + convert_text(text, Encoding::kUtf8, terminal) + "\n";
  }
  if (!kept_at.empty()) {
    // The name is in the terminal's encoding, as it was typed.
    const std::string kept = convert_text(kept_at, terminal, Encoding::kUtf8);
    out += "zemuc: " +
           convert_text(fill(kKeptAt, language, {kept}), Encoding::kUtf8,
                        terminal) +
           "\n";
  }
  return out;
}

}  // namespace zemuc::explain
