#include <gtest/gtest.h>

#include <string>

#include "lexer/tokenizer.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

struct SqueezeCase {
  std::string in;  // UTF-8
  std::string out;
};

void PrintTo(const SqueezeCase& c, std::ostream* os) { *os << c.in; }

class Squeeze : public ::testing::TestWithParam<SqueezeCase> {};

TEST_P(Squeeze, RemovesEverySpaceButTheOneAfterElse) {
  std::string text = sjis(GetParam().in);
  squeeze_line(text);
  EXPECT_EQ(utf8(text), GetParam().out) << "input: [" << GetParam().in << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Squeeze,
    ::testing::Values(
        SqueezeCase{"", ""}, SqueezeCase{"   \n", "\n"},
        SqueezeCase{"数a = 数b + 1;\n", "数a=数b+1;\n"},
        // Quotes give no protection.
        SqueezeCase{"見る(\"a b, c\")\n", "見る(\"ab,c\")\n"},
        // The space right after "else" stays, more spaces go.
        SqueezeCase{"} else if (数a>3) {\n", "}else if(数a>3){\n"},
        SqueezeCase{"else   {\n", "else {\n"},
        SqueezeCase{"}else {\n", "}else {\n"}, SqueezeCase{"else {", "else {"},
        SqueezeCase{"else ", "else "},
        SqueezeCase{"else else x", "else else x"},
        SqueezeCase{"\"else b\"", "\"else b\""},
        // No word-boundary test: a longer word ending in else keeps it too.
        SqueezeCase{"xelse y", "xelse y"},
        SqueezeCase{"elseelse x", "elseelse x"},
        // The letters must be contiguous and followed by the space itself.
        SqueezeCase{"els e {", "else{"}, SqueezeCase{"e lse x", "elsex"},
        SqueezeCase{"else\t x", "else\tx"}, SqueezeCase{"a else", "aelse"},
        SqueezeCase{"ELSE x", "ELSEx"},
        // Only 0x20 goes: tabs and the full-width space stay.
        SqueezeCase{"\t \tx\n", "\t\tx\n"},
        SqueezeCase{"数a　 =1", "数a　=1"}));

TEST(Squeeze, CarriesNulBytesThrough) {
  std::string text("a \0 b", 5);
  squeeze_line(text);
  EXPECT_EQ(text, std::string("a\0b", 3));
}

}  // namespace
}  // namespace zemuc::testing
