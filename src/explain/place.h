// Places in the C text said as places in the source: the line, and the
// column of the learner's own token that the C text there was written
// from.
#ifndef ZEMUC_PLACE_H_
#define ZEMUC_PLACE_H_

#include <cstddef>
#include <string_view>

#include "program/program.h"

namespace zemuc::explain {

struct SourcePlace {
  std::size_t line = 0;    // 0: no line of the source
  std::size_t column = 0;  // in characters of the line, from 1
  bool frame = false;      // in the code はじめ or おわり writes
  bool at_end = false;     // after the last token of the line's C text
};

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
