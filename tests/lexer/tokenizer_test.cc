#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexer/token_line.h"
#include "support/lines.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

struct TokenizeCase {
  const char* what;
  std::string line;  // UTF-8, converted to Shift-JIS before tokenizing
  std::vector<Token> tokens;
};

void PrintTo(const TokenizeCase& c, std::ostream* os) { *os << c.what; }

class Tokenize : public ::testing::TestWithParam<TokenizeCase> {};

TEST_P(Tokenize, SplitsAtDelimiters) {
  TokenLine line;
  set_line(line, sjis(GetParam().line));
  EXPECT_EQ(tokens_of(line), GetParam().tokens) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Tokenize,
    ::testing::Values(
        TokenizeCase{"display with label and variable",
                     "見る(\"合計\",数合計);\n",
                     {{"見る", '(', 4},
                      {"\"合計\"", ',', 5},
                      {"数合計", ')', 6},
                      {"", ';', 0}}},
        TokenizeCase{"indented condition",
                     "\tif(数a>3){\n",
                     {{"", '\t', 0},
                      {"if", '(', 2},
                      {"数a", '>', 3},
                      {"3", ')', 1},
                      {"", '{', 0},
                      {"", '\n', 0}}},
        TokenizeCase{"else between braces",
                     "}else{\n",
                     {{"", '}', 0}, {"else", '{', 4}, {"", '\n', 0}}},
        TokenizeCase{"kept space after else is counted",
                     "} else if (数a>3) {\n",
                     {{"", '}', 0},
                      {"else if", '(', 7},
                      {"数a", '>', 3},
                      {"3", ')', 1},
                      {"", '{', 0},
                      {"", '\n', 0}}},
        TokenizeCase{"empty line", "\n", {{"", '\n', 0}}},
        TokenizeCase{"line of spaces", "    \n", {{"", '\n', 0}}},
        TokenizeCase{"line ends at the first semicolon",
                     "数a = 数b + 1;   数c = 2;\n",
                     {{"数a", '=', 3}, {"数b", '+', 3}, {"1", ';', 1}}},
        TokenizeCase{"spaces and comma inside quotes",
                     "見る(\"a b, c\")\n",
                     {{"見る", '(', 4}, {"\"ab,c\"", ')', 5}, {"", '\n', 0}}},
        TokenizeCase{"semicolon inside quotes",
                     "見る(\"a;b\");\n",
                     {{"見る", '(', 4}, {"\"a;b\"", ')', 4}, {"", ';', 0}}},
        TokenizeCase{"empty quotes count one",
                     "見る(\"\");\n",
                     {{"見る", '(', 4}, {"\"\"", ')', 1}, {"", ';', 0}}},
        TokenizeCase{"quotes inside a token, each closing one uncounted",
                     "a\"b\"c\"\",d\n",
                     {{"a\"b\"c\"\"", ',', 5}, {"d", '\n', 1}}},
        TokenizeCase{"exclamation mark is an ordinary byte",
                     "数a!=3;\n",
                     {{"数a!", '=', 4}, {"3", ';', 1}}},
        TokenizeCase{"full-width space stays in its token",
                     "数a　=1;\n",
                     {{"数a　", '=', 5}, {"1", ';', 1}}},
        TokenizeCase{"form feed splits like a comma",
                     "a\fb,c\n",
                     {{"a", '\f', 1}, {"b", ',', 1}, {"c", '\n', 1}}},
        TokenizeCase{"every splitting delimiter",
                     "a,b:c\td=e)f(g+h-i/j*k<l>m{n}o\n",
                     {{"a", ',', 1},
                      {"b", ':', 1},
                      {"c", '\t', 1},
                      {"d", '=', 1},
                      {"e", ')', 1},
                      {"f", '(', 1},
                      {"g", '+', 1},
                      {"h", '-', 1},
                      {"i", '/', 1},
                      {"j", '*', 1},
                      {"k", '<', 1},
                      {"l", '>', 1},
                      {"m", '{', 1},
                      {"n", '}', 1},
                      {"o", '\n', 1}}},
        TokenizeCase{"else and a keyword join into one token",
                     "} else 見る(\"x\");\n",
                     {{"", '}', 0},
                      {"else 見る", '(', 9},
                      {"\"x\"", ')', 2},
                      {"", ';', 0}}},
        TokenizeCase{"unclosed quote runs up to the line feed",
                     "見る(\"a;b,c)\n",
                     {{"見る", '(', 4}, {"\"a;b,c)", '\n', 7}}},
        TokenizeCase{"unclosed quote right before the line feed",
                     "a,\"\n",
                     {{"a", ',', 1}, {"\"", '\n', 1}}},
        TokenizeCase{"unclosed quote without a line feed",
                     "a,\"b c",
                     {{"a", ',', 1}, {"\"bc", '\n', 3}}},
        TokenizeCase{"text without line feed ends as if one followed",
                     "数a=1",
                     {{"数a", '=', 3}, {"1", '\n', 1}}},
        TokenizeCase{"empty text", "", {{"", '\n', 0}}},
        TokenizeCase{"closing quote as the last byte",
                     "見る(\"x\"",
                     {{"見る", '(', 4}, {"\"x\"", '\n', 2}}},
        TokenizeCase{"carriage return is an ordinary byte",
                     "a\r\n",
                     {{"a\r", '\n', 2}}}));

// Trail bytes 0x7D and 0x7B split a name as '}' and '{' would; such a name
// has no UTF-8 form, so its bytes are spelled out.
TEST(Tokenize, TrailBytesOfMaAndBoSplit) {
  TokenLine line;
  set_line(line, "\x90\x94\x83\x7D\x83\x58=1;\n");  // 数マス=1;
  EXPECT_EQ(
      tokens_of(line),
      (std::vector<Token>{{"数\\x83", '}', 3}, {"ス", '=', 2}, {"1", ';', 1}}));
  set_line(line, "\x8E\x9A\x83\x7B\n");  // 字ボ
  EXPECT_EQ(tokens_of(line),
            (std::vector<Token>{{"字\\x83", '{', 3}, {"", '\n', 0}}));
}

TEST(Tokenize, NulIsAnOrdinaryByte) {
  TokenLine line;
  set_line(line, std::string("a\0b=\"\0\";\n", 9));
  ASSERT_EQ(line.count, 2u);
  EXPECT_EQ(line.tokens[1], std::string_view("a\0b", 3));
  EXPECT_EQ(line.lengths[1], 3u);
  EXPECT_EQ(line.tokens[2], std::string_view("\"\0\"", 3));
  EXPECT_EQ(line.delims[2], ';');
}

// A line of any length is split whole, past the 255 tokens that a line
// could once hold.
TEST(Tokenize, LongLineKeepsEveryToken) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "ab,";
  text += "end\n";
  TokenLine line;
  set_line(line, text);
  ASSERT_EQ(line.count, 1001u);
  EXPECT_EQ(line.tokens[1000], "ab");
  EXPECT_EQ(line.tokens[1001], "end");
  EXPECT_EQ(line.delims[1001], '\n');
}

// Nothing of a longer earlier line shows through positions above count.
TEST(Tokenize, PositionsAboveCountReadAsEmpty) {
  TokenLine line;
  set_line(line, "a,b,c,d\n");
  set_line(line, "x\n");
  ASSERT_EQ(line.count, 1u);
  for (std::size_t k : {0u, 2u, 3u, 4u, 100u}) {
    EXPECT_EQ(line.token(k), "") << k;
    EXPECT_EQ(line.delim(k), '\0') << k;
    EXPECT_EQ(line.length(k), 0u) << k;
  }
  EXPECT_EQ(line.token(1), "x");
}

}  // namespace
}  // namespace zemuc::testing
