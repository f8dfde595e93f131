#include "io/output.h"

#include <gtest/gtest.h>

#include <string>

namespace zemuc::testing {
namespace {

// Pieces of every length up to past the short copy's 16 bytes, written
// until the buffer has filled and drained several times, so that they land
// at every place before its end: the text must arrive whole and in order.
TEST(Output, WritesPiecesOfEveryLengthWhole) {
  std::string source;
  for (int i = 0; i < 64; ++i)
    source.push_back(static_cast<char>('A' + i % 50));
  std::string written, expected;
  {
    StringSink sink(written);
    Output out(sink);
    for (std::size_t round = 0; expected.size() < 300 * 1024; ++round) {
      const std::size_t n = round % 41;
      const std::string_view piece(source.data() + round % 7, n);
      out << piece;
      expected.append(piece);
      if (round % 13 == 0) {
        out << '\n';
        expected.push_back('\n');
        out.number(round);
        expected += std::to_string(round);
      }
    }
    ASSERT_TRUE(out.flush());
  }
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
}

// A piece larger than the buffer goes straight through, after what was
// buffered before it.
TEST(Output, WritesAPieceLargerThanTheBuffer) {
  const std::string large(200 * 1024, 'x');
  std::string written;
  {
    StringSink sink(written);
    Output out(sink);
    out << "ab" << std::string_view(large) << "cd";
  }
  EXPECT_TRUE(written == "ab" + large + "cd");
}

}  // namespace
}  // namespace zemuc::testing
