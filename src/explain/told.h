// A compiler's message as the learner is told it, and how it is shown.
#ifndef ZEMUC_EXPLAIN_TOLD_H_
#define ZEMUC_EXPLAIN_TOLD_H_

#include <cstddef>
#include <string>

#include "explain/compiler_output.h"
#include "program/program.h"
#include "text/encoding.h"
#include "text/language.h"

namespace zemuc::explain {

struct Told {
  std::size_t line = 0;  // 0: no line of the source
  std::size_t column = 0;
  bool frame = false;
  bool whole_program = false;  // about the program, not one place
  // Where a problem with the shape of the whole program is found: the
  // check's line for it, which an editor, showing each message on a line,
  // shows it on too. 0: none.
  std::size_t found_line = 0;
  bool plain = false;  // said in a sentence of its own
  // Said plainly, but of what is missing where the compiler lost its way,
  // which often only follows from another mistake on the line: it gives
  // way to any other sentence there, and to the first of its kind.
  bool follows_others = false;
  // The line's C closes main early (a 読む of a file never opened): what
  // the compiler says of the lines after it only follows from it.
  bool closes_main = false;
  // Nothing the learner needs to hear (the browser's build's loop warning
  // for a use after the loop): left out.
  bool left_out = false;
  Severity severity = Severity::kError;
  std::string text;   // UTF-8
  std::string words;  // the compiler's own, as it wrote them
  std::string file;   // for a place in another file (a header)
  // A variable used before it gets a value, as said.
  std::string value_missing;
};

// Whether the message names a learner's line.
inline bool names_line(const Told& told) {
  return told.line != 0 && told.file.empty() && !told.frame;
}

// The words of the message, UTF-8, as render() says them after its place:
// one in the frame or with no place says so.
std::string told_words(const Told& told, Language language);

// The message for the terminal: on its source line with a caret, or on one
// line of its own naming the source, the other file or zemuc.
std::string render(const Program& program, const Told& told, Language language,
                   Encoding terminal);

}  // namespace zemuc::explain

#endif  // ZEMUC_EXPLAIN_TOLD_H_
