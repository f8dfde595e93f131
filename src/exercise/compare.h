// Holding a program's output to the expected one, as an exercise's case
// says, and the first place where they differ. Both are UTF-8 text.
#ifndef ZEMUC_EXERCISE_COMPARE_H_
#define ZEMUC_EXERCISE_COMPARE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "exercise/settings.h"

namespace zemuc::exercise {

// `text` without the closing line a program writes before its last key
// wait (in UTF-8), where it stands last: neither an expected output nor a
// program's is judged by it.
std::string without_closing_line(std::string_view text);

// Full-width letters and digits as their half-width forms.
std::string fold_fullwidth(std::string_view text);

// The text as the comparison sees it: the closing line left out; for
// kLines each line without the blanks at its end, the last line ended;
// for kTokens the words, one a line.
std::string normalised(std::string_view text, Compare compare, bool fullwidth);

// Where two outputs first differ: the line (or, for kTokens, the word)
// counted from 1, each side's text of it, and what kind the whole
// difference is.
struct Difference {
  enum class Kind {
    kOther,
    kSpaces,     // only blanks differ
    kLineEnd,    // only line ends differ
    kFullwidth,  // only full-width and half-width forms differ
  };
  std::size_t unit = 1;
  bool words = false;                   // `unit` counts words rather than lines
  std::optional<std::string> expected;  // nothing: that side has ended
  std::optional<std::string> got;
  Kind kind = Kind::kOther;
};

// Nothing when `got` passes as `expected`.
std::optional<Difference> first_difference(std::string_view expected,
                                           std::string_view got,
                                           const CaseSettings& settings);

// The columns a terminal gives a UTF-8 character: 2 for the wide ones of
// East Asian scripts, else 1.
std::size_t display_width(char32_t c);

// A line of marks under `got`: '^' under each character that is not the
// one `expected` has at its place, and one past `got`'s end when
// `expected` is longer.
std::string difference_marks(std::string_view expected, std::string_view got);

}  // namespace zemuc::exercise

#endif  // ZEMUC_EXERCISE_COMPARE_H_
