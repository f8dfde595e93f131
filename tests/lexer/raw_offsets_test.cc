#include "lexer/raw_offsets.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lexer/tokenizer.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

// The offsets must pick out of `raw` exactly what squeeze_line leaves, in
// rising order.
void expect_matches_squeeze(const std::string& raw) {
  std::string squeezed = raw;
  squeeze_line(squeezed);
  const std::vector<std::size_t> offsets = squeezed_to_raw(raw);
  ASSERT_EQ(offsets.size(), squeezed.size()) << "[" << raw << "]";
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    ASSERT_LT(offsets[i], raw.size());
    EXPECT_EQ(raw[offsets[i]], squeezed[i])
        << "byte " << i << " of [" << raw << "]";
    if (i > 0) {
      EXPECT_LT(offsets[i - 1], offsets[i]);
    }
  }
}

TEST(SqueezedToRaw, PointsBackPastRemovedSpaces) {
  const std::string raw = sjis("見る (\"a b\")");
  // 見る is four bytes; the space after it is gone.
  const std::vector<std::size_t> offsets = squeezed_to_raw(raw);
  ASSERT_EQ(offsets.size(), raw.size() - 2);
  EXPECT_EQ(offsets[3], 3u);
  EXPECT_EQ(offsets[4], 5u);  // '('
  EXPECT_EQ(offsets[7], 9u);  // 'b'
}

TEST(SqueezedToRaw, KeepsTheSpaceAfterElse) {
  const std::vector<std::size_t> offsets = squeezed_to_raw("} else  x");
  EXPECT_EQ(offsets, (std::vector<std::size_t>{0, 2, 3, 4, 5, 6, 8}));
}

TEST(SqueezedToRaw, AgreesWithSqueezeLineOnHandWrittenLines) {
  for (const char* line : {"",
                           " ",
                           "     ",
                           "else",
                           "else ",
                           "else  ",
                           " else ",
                           "elseelse x",
                           "eelse x",
                           "els e {",
                           "e lse x",
                           "else\t x",
                           "xelse y",
                           "else else x",
                           "} else if (数a > 3) {\n",
                           "見る(\"a b, c\")\n",
                           "\t 数a = 1 ;  数b\n",
                           "数a　 =1",
                           "\"else b\"",
                           "elsee lse else"}) {
    expect_matches_squeeze(sjis(line));
  }
}

TEST(SqueezedToRaw, AgreesWithSqueezeLineOnRandomLines) {
  // Lines built from the bytes that matter to squeezing, with double-byte
  // characters and NUL among them.
  const std::vector<std::string> pieces = {
      " ",          "  ",       "e",        "l", "s",  "else",
      "else ",      "\t",       "\"",       ";", "\n", std::string(1, '\0'),
      sjis("見る"), sjis("マ"), sjis("　"), "x", "{"};
  std::mt19937 random(12345);
  for (int round = 0; round < 5000; ++round) {
    std::string raw;
    const int n = static_cast<int>(random() % 24);
    for (int i = 0; i < n; ++i) raw += pieces[random() % pieces.size()];
    expect_matches_squeeze(raw);
  }
}

}  // namespace
}  // namespace zemuc::testing
