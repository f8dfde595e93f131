#include "check/c_regions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sjis.h"

namespace zemuc::testing {
namespace {

using check::Region;

// The regions as one letter per byte: c code, b block comment, l line
// comment, q literal.
std::string regions_of(const std::string& text, bool open_before,
                       bool* open_after) {
  std::vector<Region> regions;
  *open_after = check::mark_regions(text, open_before, regions);
  std::string letters;
  for (Region r : regions) {
    letters += r == Region::kCode           ? 'c'
               : r == Region::kBlockComment ? 'b'
               : r == Region::kLineComment  ? 'l'
                                            : 'q';
  }
  return letters;
}

TEST(CRegions, CommentsAndLiterals) {
  bool open = false;
  EXPECT_EQ(regions_of("a/*b*/c//d\n", false, &open), "cbbbbbcllll");
  EXPECT_FALSE(open);
  EXPECT_EQ(regions_of("a\"/*\"'\\''b\n", false, &open), "cqqqqqqqqcc");
  EXPECT_FALSE(open);
  // A comment open at the end, and one closed on the next line.
  EXPECT_EQ(regions_of("x/*y\n", false, &open), "cbbbb");
  EXPECT_TRUE(open);
  EXPECT_EQ(regions_of("y*/z\n", true, &open), "bbbcc");
  EXPECT_FALSE(open);
  // A literal ends with the line at the latest.
  EXPECT_EQ(regions_of("\"ab\n", false, &open), "qqqq");
  EXPECT_FALSE(open);
}

TEST(CRegions, ATrailByteOfABackslashIsNoEscape) {
  // 表 is 95 5C: read as code page 932, the quote after it closes the text.
  const std::string text = sjis("\"表\"/*");
  bool open = false;
  EXPECT_EQ(regions_of(text, false, &open), "qqqqbb");
  EXPECT_TRUE(open);
}

// The pieces of C of several lines: literals and comments whole, a block
// comment over a line end (a piece on each line), a literal or a // comment
// ended by one.
TEST(CRegions, PiecesOfSeveralLinesAndTheFirstCodeCharacter) {
  const struct {
    std::string text;
    std::vector<std::string> pieces;  // each piece's text, code ones too
    std::size_t semicolon;            // find_in_code(text, ';')
  } cases[] = {
      {"a\"x;\"\"y\";", {"a", "\"x;\"", "\"y\"", ";"}, 8},
      {"/*;\n;*/b;", {"/*;", "\n", ";*/", "b", ";"}, 8},
      {"\"ab\n;", {"\"ab", "\n", ";"}, 4},
      {"x//;\n;", {"x", "//;", "\n", ";"}, 5},
      {sjis("表;"), {sjis("表"), ";"}, 2},
      {"'a'", {"'a'"}, std::string_view::npos},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> pieces;
    for (const check::CSpan& span : check::c_spans(c.text)) {
      pieces.push_back(c.text.substr(span.begin, span.end - span.begin));
    }
    EXPECT_EQ(pieces, c.pieces);
    EXPECT_EQ(check::find_in_code(c.text, ';'), c.semicolon);
  }
}

}  // namespace
}  // namespace zemuc::testing
