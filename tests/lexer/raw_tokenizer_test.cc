// The in-place tokenizer against the squeezing one, on the same lines: both
// byte scans (16 at a time and one by one) must make exactly the tokens of
// tokenize_line, whatever the line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexer/byte_masks.h"
#include "lexer/token_line.h"
#include "lexer/tokenizer.h"
#include "support/lines.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

using Tokenizer = void (*)(TokenLine&, std::string_view);

// Everything a reader of a TokenLine can see, as text; the text before a
// token only near both ends of a long line, where it is not quadratic.
std::string shape(const TokenLine& line) {
  std::string s = std::to_string(line.count) + ":";
  for (std::size_t k = 1; k <= line.count + 1; ++k) {
    s += "[" + std::string(line.token(k)) + "|" + line.delim(k) + "|" +
         std::to_string(line.length(k));
    if (k < 64 || k + 2 > line.count) s += "|" + std::string(line.before(k));
    s += "]";
  }
  return s;
}

std::string plain_shape(std::string_view bytes) {
  TokenLine line;
  set_line(line, bytes);
  return shape(line);
}

void expect_same_as_plain(Tokenizer tokenize, TokenLine& line,
                          std::string_view bytes, char fill) {
  const RawLine raw(bytes, fill);
  tokenize(line, raw.view());
  ASSERT_EQ(shape(line), plain_shape(bytes)) << utf8(bytes);
}

class RawTokenizer : public ::testing::TestWithParam<Tokenizer> {};

INSTANTIATE_TEST_SUITE_P(Scans, RawTokenizer,
                         ::testing::Values(&tokenize_raw,
                                           &tokenize_raw_portable));

TEST_P(RawTokenizer, MatchesThePlainTokenizerOnTypicalLines) {
  const std::vector<std::string> lines = {
      "\n",
      "\t}\n",
      "}else{\n",
      "\t数v00002=数v00000+数v00001;\n",
      "\t見る(\"合計\",数合計);\n",
      "\tif(数a>3){\n",
      "\t読みきり(入力,字s){\n",
      "開く(出力,\"out.txt\",w);\n",
      "\tprintf(\"%d\",数a);\n",
      "数a!=3;\n",
      "数a　=1;\n",
      "a\fb,c\n",
      "a,b:c\td=e)f(g+h-i/j*k<l>m{n}o\n",
      // Lines that need squeezing go the plain way.
      "} else if (数a>3) {\n",
      "数a = 数b + 1;   数c = 2;\n",
      "見る(\"a b, c\")\n",
      "} else 見る(\"x\");\n",
      "    \n",
      // Quotes: closed, empty, inside a token, unclosed, holding ; and ,.
      "見る(\"a;b\");\n",
      "見る(\"\");\n",
      "a\"b\"c\"\",d\n",
      "見る(\"a;b,c)\n",
      "a,\"\n",
      "\"\n",
      "\"\"\"\n",
      // Bytes that the 16-byte scan lets through and passes over.
      "a!b#c$d%e&f'g.h\x01i\x1Aj\r\n",
      std::string("a\0b=\"\0\";\n", 9),
      // What follows the end of the line is dropped.
      "数a=1;数b=2;\n",
      ";\n",
      "a;\"\n",
  };
  TokenLine line;
  for (const std::string& text : lines) {
    for (char fill : {'\n', '"', ';', ' ', 'x'}) {
      expect_same_as_plain(GetParam(), line, sjis(text), fill);
    }
  }
}

// Quotes, delimiters and the line end at every place around the 16-byte
// blocks: each line is a run of 'a' with one or two marks in it.
TEST_P(RawTokenizer, MatchesAcrossBlockEdges) {
  TokenLine line;
  for (std::size_t n = 0; n < 40; ++n) {
    for (std::size_t i = 0; i <= n; ++i) {
      for (const char* mark : {",", "\"", " ", ";", "\"\"", "\",", "{"}) {
        std::string text(n, 'a');
        text.insert(i, mark);
        for (std::size_t j : {std::size_t{0}, n / 2, n}) {
          std::string two = text;
          two.insert(j, 1, '"');
          expect_same_as_plain(GetParam(), line, two + "\n", '\n');
        }
        expect_same_as_plain(GetParam(), line, text + "\n", '"');
      }
    }
  }
}

// Every short line over an alphabet of the bytes that matter, each ended
// by a line feed: the words "else" and a name mark stand for themselves.
TEST_P(RawTokenizer, MatchesOnEveryShortLine) {
  const std::vector<std::string> alphabet = {"a", " ",    "\"",       ";",
                                             ",", "else", "\x90\x94", "\n"};
  TokenLine line;
  std::vector<std::string> texts = {""};
  for (int length = 1; length <= 5; ++length) {
    std::vector<std::string> longer;
    for (const std::string& t : texts) {
      for (const std::string& a : alphabet) longer.push_back(t + a);
    }
    for (const std::string& t : longer) {
      expect_same_as_plain(GetParam(), line, t + "\n", '\n');
    }
    texts = std::move(longer);
  }
}

// Lines with more tokens than the arrays hold, short and past the length
// up to which room is made for a token per byte; then short lines again on
// the grown arrays.
TEST_P(RawTokenizer, GrowsForLinesOfManyTokens) {
  TokenLine line;
  for (std::size_t tokens : {10u, 63u, 64u, 65u, 2000u, 5000u, 20000u}) {
    std::string text;
    for (std::size_t i = 0; i < tokens; ++i)
      text += i % 7 == 0 ? "\"x\"," : "a,";
    expect_same_as_plain(GetParam(), line, text + "\n", '\n');
    expect_same_as_plain(GetParam(), line, "b,c\n", '\n');
  }
  const RawLine raw(std::string(10000, ',') + "\n");
  GetParam()(line, raw.view());
  EXPECT_EQ(line.count, 10001u);
}

// The fast path splits in place: the tokens view into the raw line, and
// the text of the line before is left as it was.
TEST_P(RawTokenizer, SplitsInPlaceWhenNothingIsSqueezed) {
  TokenLine line;
  line.text = "left";
  const RawLine raw("a,b;\n");
  GetParam()(line, raw.view());
  EXPECT_EQ(line.tokens[1].data(), raw.view().data());
  EXPECT_EQ(line.text, "left");
  EXPECT_EQ(line.before(3), "a,b;");
}

TEST_P(RawTokenizer, TakesATextWithoutLineFeedTheSlowWay) {
  TokenLine line;
  GetParam()(line, "a,b");
  EXPECT_EQ(shape(line), plain_shape("a,b"));
  GetParam()(line, "");
  EXPECT_EQ(shape(line), plain_shape(""));
}

#if defined(__SSE2__)
// The two byte scans mark the same bytes: every byte value at every place.
TEST(ByteMasks, Sse2AndPortableMarkTheSameBytes) {
  for (int c = 0; c < 256; ++c) {
    for (int at = 0; at < 16; ++at) {
      char block[16];
      for (int i = 0; i < 16; ++i) block[i] = 'a';
      block[at] = static_cast<char>(c);
      ASSERT_EQ(Sse2Bytes::token_ends(block), PortableBytes::token_ends(block))
          << c;
      ASSERT_EQ(Sse2Bytes::quote_stop(block), PortableBytes::quote_stop(block))
          << c;
    }
  }
}
#endif

// What the scan must stop at, and what it may pass over.
TEST(ByteMasks, MarksEveryByteThatEndsATokenOrLine) {
  for (unsigned char c : std::string_view(",\x0C:\t=)(+-/*<>{}\";\n ")) {
    EXPECT_TRUE(may_end_token(c)) << int{c};
  }
  for (unsigned char c : std::string_view("0123456789azAZ\x90\x94\x7E\x40")) {
    EXPECT_FALSE(may_end_token(c)) << int{c};
  }
  for (int c = 0x3F; c < 256; ++c) {
    if (c != '{' && c != '}') {
      EXPECT_FALSE(may_end_token(c)) << c;
    }
  }
}

}  // namespace
}  // namespace zemuc::testing
