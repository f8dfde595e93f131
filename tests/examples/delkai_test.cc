// The run-time support file that generated programs are linked with.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/sjis.h"

extern "C" int delkai(char* line);

namespace zemuc::testing {
namespace {

struct LineEndCase {
  const char* what;
  std::string line;  // as fgets() leaves it in the buffer
  std::string left;  // what delkai() leaves
};

class DelkaiLineEnds : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(DelkaiLineEnds, RemovesOnlyTheFinalLineEnd) {
  const LineEndCase& c = GetParam();
  // The generated programs' line buffer; the bytes after the text must stay
  // untouched.
  char buffer[100];
  std::memset(buffer, '#', sizeof buffer);
  std::memcpy(buffer, c.line.c_str(), c.line.size() + 1);

  const int length = delkai(buffer);

  EXPECT_EQ(std::string(buffer), c.left) << c.what;
  EXPECT_EQ(length, static_cast<int>(c.left.size())) << c.what;
  for (std::size_t i = c.line.size() + 1; i < sizeof buffer; ++i) {
    ASSERT_EQ(buffer[i], '#') << c.what << ": byte " << i << " changed";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DelkaiLineEnds,
    ::testing::Values(LineEndCase{"line feed", "abc\n", "abc"},
                      LineEndCase{"CR LF", "abc\r\n", "abc"},
                      LineEndCase{"no line end", "abc", "abc"},
                      LineEndCase{"empty line", "\n", ""},
                      LineEndCase{"empty CR LF line", "\r\n", ""},
                      LineEndCase{"empty buffer", "", ""},
                      LineEndCase{"lone CR is no line end", "abc\r", "abc\r"},
                      LineEndCase{"only one CR goes", "abc\r\r\n", "abc\r"},
                      LineEndCase{"only one LF goes", "abc\n\n", "abc\n"},
                      LineEndCase{"LF CR is not CR LF", "abc\n\r", "abc\n\r"},
                      LineEndCase{"inner line ends stay", "a\r\nb\n", "a\r\nb"},
                      // 79 bytes and no line end: the piece that fgets(dummy,
                      // 80, ...) cuts from a longer line.
                      LineEndCase{"full read piece", std::string(79, 'x'),
                                  std::string(79, 'x')},
                      LineEndCase{"full read line", std::string(78, 'x') + "\n",
                                  std::string(78, 'x')}));

TEST(Delkai, KeepsShiftJisCharactersWhoseSecondByteIsABackslash) {
  // ソ 表 能 十 申 end in 0x5C; the text before the line end must come out
  // byte for byte.
  const std::string text = sjis("ソ表能十申");
  std::string line = text + "\r\n";
  EXPECT_EQ(delkai(line.data()), static_cast<int>(text.size()));
  EXPECT_EQ(std::string(line.c_str()), text);
}

TEST(Delkai, LeavesANullPointerAlone) { EXPECT_EQ(delkai(nullptr), 0); }

}  // namespace
}  // namespace zemuc::testing
