// Which bytes of a line's C text are code, comment or literal. Statement
// text that stands in a comment or a literal is harmless, and a comment
// left open swallows the lines after it, so the check needs to know.
#ifndef ZEMUC_CHECK_C_REGIONS_H_
#define ZEMUC_CHECK_C_REGIONS_H_

#include <cstddef>
#include <string_view>
#include <vector>

namespace zemuc::check {

enum class Region : unsigned char {
  kCode,
  kBlockComment,
  kLineComment,
  kLiteral
};

inline bool is_comment(Region region) {
  return region == Region::kBlockComment || region == Region::kLineComment;
}

// Marks every byte of `text` (one line of C, without what earlier lines
// left open except a block comment) and returns whether a block comment is
// still open at its end. `in_block_comment` says whether one was open at
// its start. Literals are read as a compiler told the text is code page 932
// reads them: a lead byte takes its trail byte with it, so a trail byte
// 0x5C is no escape. A literal or a // comment ends with the line.
bool mark_regions(std::string_view text, bool in_block_comment,
                  std::vector<Region>& regions);

// A piece of C text: a comment or a literal whole, or one character of
// code.
struct CSpan {
  std::size_t begin;
  std::size_t end;
  Region region;
};

// The pieces of `text`, C of any number of lines, in order, read line by
// line as mark_regions reads one: a block comment runs on over lines, a
// piece on each; nothing else does. The line ends are pieces of code.
std::vector<CSpan> c_spans(std::string_view text);

// The offset of the first `c` of `text` (as c_spans reads it) that is code,
// not in a comment or a literal; npos when there is none.
std::size_t find_in_code(std::string_view text, char c);

}  // namespace zemuc::check

#endif  // ZEMUC_CHECK_C_REGIONS_H_
