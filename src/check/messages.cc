// The texts of the findings, filled from their rows (check/problems.cc):
// the keywords come from the translator's own Shift-JIS texts, so that
// they are spelled as it reads them.
#include "check/messages.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "check/problems.h"
#include "lexer/sjis_texts.h"

namespace zemuc::check {
namespace {

// The words that templates name, in the translator's Shift-JIS.
constexpr std::array<std::pair<const char*, std::string_view>, 12> kWords{{
    {"display", sjis::kDisplay},
    {"input", sjis::kInput},
    {"begin", sjis::kBegin},
    {"repeat", sjis::kRepeat},
    {"open", sjis::kOpen},
    {"close", sjis::kClose},
    {"readall", sjis::kReadAll},
    {"read", sjis::kRead},
    {"write", sjis::kWrite},
    {"end", sjis::kEnd},
    {"num", sjis::kNumericMark},
    {"str", sjis::kStringMark},
}};

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
const std::array<std::string, kWords.size()>& utf8_words() {
  static const std::array<std::string, kWords.size()> words = [] {
    std::array<std::string, kWords.size()> converted;
    for (std::size_t i = 0; i < kWords.size(); ++i) {
      converted[i] = sjis_for_terminal(kWords[i].second, Encoding::kUtf8);
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
  std::array<NamedArg, kWords.size() + 2> args;
  args[0] = {"subject", subject};
  args[1] = {"mend", mend};
  for (std::size_t i = 0; i < kWords.size(); ++i) {
    args[i + 2] = {kWords[i].first, utf8_words()[i]};
  }
  return fill(problem_row(finding.problem).check, language, args);
}

}  // namespace zemuc::check
