// Columns of a Shift-JIS line in characters, as a terminal shows them.
#ifndef ZEMUC_TEXT_COLUMNS_H_
#define ZEMUC_TEXT_COLUMNS_H_

#include <cstddef>
#include <string_view>

namespace zemuc {

// Counts columns along one line; a double-byte character counts 1, any
// other byte 1 (a tab, a byte that is no character). Offsets asked for must
// not go down, so that a whole line of findings costs one walk.
class ColumnWalker {
 public:
  explicit ColumnWalker(std::string_view line) : line_(line) {}
  // The 1-based column of the character that holds byte `offset`; past the
  // end, the column after the last character.
  std::size_t column_at(std::size_t offset);

 private:
  std::string_view line_;
  std::size_t offset_ = 0;  // where the character of column_ starts
  std::size_t column_ = 1;
};

// The byte offset at which `column` starts, or the size of the line when
// the line is shorter.
std::size_t offset_of_column(std::string_view line, std::size_t column);

// The bytes of the character that starts at `offset`: 2 for a well-formed
// double-byte character, else 1.
std::size_t character_at(std::string_view line, std::size_t offset);

}  // namespace zemuc

#endif  // ZEMUC_TEXT_COLUMNS_H_
