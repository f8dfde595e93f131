// Places in the C text said as places in the source: the line, and the
// column of the learner's own token that the C text there was written
// from.
#ifndef ZEMUC_PLACE_H_
#define ZEMUC_PLACE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "explain/compiler_output.h"
#include "program/copy.h"
#include "program/program.h"

namespace zemuc::explain {

struct SourcePlace {
  std::size_t line = 0;    // 0: no line of the source
  std::size_t column = 0;  // in characters of the line, from 1
  bool frame = false;      // in the code はじめ or おわり writes
  bool at_end = false;     // after the last token of the line's C text
};

// Where a compiler's message is, for the learner.
struct MessagePlace {
  // On a line of the source or in the frame; nothing when neither.
  std::optional<SourcePlace> source;
  // A place in another file (a header), as the compiler names it.
  std::string file;
  std::size_t line = 0;
  std::size_t column = 0;
  bool whole_program = false;  // about the program, not one place
  // On a statement's line, at or after its keyword: in the C that the
  // translator writes for it.
  bool in_statement = false;

  bool learner_line() const { return source && !source->frame; }
};

// The place of the message: the compiler's place in its copy mapped back
// to the source; for a name the linker did not find and no debug
// information places, the first learner's line that holds it; for main
// missing, the whole program.
MessagePlace place_message(const Program& program, const CopyMap& map,
                           const CompilerMessage& message);

// The place of the byte at `c_offset` of the C text. The generators write
// a line's tokens in order, names replaced by C names, so the C token
// there is looked up in the line: the k-th token of that spelling in the
// C text is taken for the k-th in the source line. A token the line does
// not hold (the C that a statement writes) gives the statement keyword's
// column; an offset after the last token gives the end of the line's
// statement.
SourcePlace place_of(const Program& program, std::size_t c_offset);

// The column of the line's statement keyword, or of its first character
// that is not blank.
std::size_t statement_column(const Program& program, std::size_t line);

// The column where `sjis_word` first stands in the line as a word of its
// own (with `whole` false: anywhere, at a character's start), or 0 when it
// does not.
std::size_t word_column(const Program& program, std::size_t line,
                        std::string_view sjis_word, bool whole = true);

// The column after the last token of the line's statement.
std::size_t end_column(const Program& program, std::size_t line);

}  // namespace zemuc::explain

#endif  // ZEMUC_PLACE_H_
