// What a compiler said about the copy, told in the learner's terms: each
// message on its source line with a caret under the place, C names as the
// learner's names, and the mistakes learners make most in plain sentences
// of their own.
#ifndef ZEMUC_COMPILER_EXPLAIN_H_
#define ZEMUC_COMPILER_EXPLAIN_H_

#include <string>
#include <string_view>

#include "compiler/copy.h"
#include "compiler/program.h"
#include "text/encoding.h"
#include "text/language.h"

namespace zemuc::compiler {

struct Explanation {
  std::string shown;  // for the terminal, in its encoding
  // Errors that name the source or the frame: the program is to blame,
  // and a build without checks fails the same way.
  bool source_errors = false;
  bool errors = false;  // errors of any kind
};

// The messages in `output` of a build of the copy that `map` describes.
// Errors are all told; warnings only where they name a learner's line; a
// compiler's notes are left out. When the build failed and the braces of
// the program do not pair, that is told in their place, and the messages
// that only follow from it are left out.
Explanation explain_build(const Program& program, const CopyMap& map,
                          std::string_view output, bool failed,
                          Language language, Encoding terminal);

}  // namespace zemuc::compiler

#endif  // ZEMUC_COMPILER_EXPLAIN_H_
