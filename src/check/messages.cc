// The texts of the findings, filled from their rows (check/problems.cc):
// the keywords come from the translator's own Shift-JIS texts, so that
// they are spelled as it reads them.
#include "check/messages.h"

#include <array>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "check/problems.h"
#include "lexer/keywords.h"
#include "lexer/sjis_texts.h"

namespace zemuc::check {
namespace {

// The words that templates name besides the keywords, which they call by
// the names of the keyword table: the first characters of a numeric and
// of a string variable's name, in the translator's Shift-JIS.
constexpr std::pair<const char*, std::string_view> kMarks[] = {
    {"num", sjis::kNumericMark},
    {"str", sjis::kStringMark},
};
constexpr std::size_t kWordCount = all_keywords().size() + std::size(kMarks);

struct Word {
  const char* name = nullptr;
  std::string utf8;
};

// A subject fit to stand in a message: at most a few dozen characters, and
// no control characters.
std::string shown_subject(std::string_view sjis_subject) {
  constexpr std::size_t kMostCharacters = 40;
  std::string shown;
  std::size_t characters = 0;
  std::size_t i = 0;
  for (; i < sjis_subject.size() && characters < kMostCharacters;
       ++characters) {
    const std::size_t n =
        character_length(sjis_subject.substr(i), Encoding::kShiftJis);
    const unsigned char c = static_cast<unsigned char>(sjis_subject[i]);
    shown += n == 1 && (c < 0x20 || c == 0x7F) ? std::string_view("?")
                                               : sjis_subject.substr(i, n);
    i += n;
  }
  std::string utf8 = sjis_for_terminal(shown, Encoding::kUtf8);
  if (i < sjis_subject.size()) utf8 += "...";
  return utf8;
}

// The words in UTF-8, converted once: every finding's text names them.
const std::array<Word, kWordCount>& utf8_words() {
  static const std::array<Word, kWordCount> words = [] {
    std::array<Word, kWordCount> converted;
    std::size_t i = 0;
    for (const KeywordEntry& entry : all_keywords()) {
      converted[i++] = {entry.name,
                        sjis_for_terminal(entry.text, Encoding::kUtf8)};
    }
    for (const auto& [name, sjis] : kMarks) {
      converted[i++] = {name, sjis_for_terminal(sjis, Encoding::kUtf8)};
    }
    return converted;
  }();
  return words;
}

}  // namespace

std::string finding_text(const Finding& finding, Language language) {
  const std::string subject = shown_subject(finding.subject);
  // The mend keeps the sign that is there: &(数a) is not !(数a).
  const std::string mend =
      finding.problem == Problem::kNameAfterSign
          ? shown_subject(names_in_parentheses(finding.subject))
          : std::string();
  std::array<NamedArg, kWordCount + 2> args;
  args[0] = {"subject", subject};
  args[1] = {"mend", mend};
  for (std::size_t i = 0; i < kWordCount; ++i) {
    args[i + 2] = {utf8_words()[i].name, utf8_words()[i].utf8};
  }
  return fill(problem_row(finding.problem).check, language, args);
}

}  // namespace zemuc::check
