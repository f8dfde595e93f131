// What a compiler said about the copy, told in the learner's terms: each
// message on its source line with a caret under the place, C names as the
// learner's names, and the mistakes learners make most in plain sentences
// of their own.
#ifndef ZEMUC_EXPLAIN_H_
#define ZEMUC_EXPLAIN_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "explain/told.h"
#include "program/copy.h"
#include "program/program.h"
#include "text/encoding.h"
#include "text/language.h"

namespace zemuc::explain {

// What follows the messages of a build that failed: the source, the
// compiler and the status it ended with.
inline constexpr Text kDoesNotBuild = {
    "{} を組み立てられません ({} が状態 {} で終わりました)",
    "{} does not build ({} ended with status {})"};

// A variable the compiler warned is used before it gets a value, on a
// learner's line: a fault on that line likely comes from it.
struct ValueMissing {
  std::size_t line = 0;
  std::string name;  // as messages say it, UTF-8
  bool operator==(const ValueMissing&) const = default;
};

struct Explanation {
  std::string shown;  // for the terminal, in its encoding
  // Errors that name the source or the frame: the program is to blame,
  // and a build without checks fails the same way.
  bool source_errors = false;
  bool errors = false;  // errors of any kind
  // What the warnings said of values missing, shown or not.
  std::vector<ValueMissing> values_missing;
};

// The messages in `output` of a build of the copy that `map` describes.
// Errors are all told; warnings only where they name a learner's line and
// only when the build did not fail (the errors are what to mend first, and
// a warning then often only follows from one); a compiler's notes are left
// out. Once a plain sentence has told a line, the compiler's other words
// on it are left out. When the build failed and the shape of the program
// is wrong (braces that do not pair, はじめ or おわり missing, twice or out
// of order, lines outside them), that is told in their place, one error
// for each, and the messages that only follow from it are left out.
// The same messages as data, in the order they are shown: render() of
// told.h gives each its terminal form, told_words() its words.
std::vector<Told> build_messages(const Program& program, const CopyMap& map,
                                 std::string_view output, bool failed,
                                 Language language);

Explanation explain_build(const Program& program, const CopyMap& map,
                          std::string_view output, bool failed,
                          Language language, Encoding terminal);

}  // namespace zemuc::explain

#endif  // ZEMUC_EXPLAIN_H_
