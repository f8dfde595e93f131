#include "front/source_text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/sjis.h"

namespace zemuc {
namespace {

using testing::sjis;

// Converts with a reporter that keeps what it says.
struct Loaded {
  std::optional<std::string> text;
  std::string said;
};
Loaded load(std::string_view bytes, Encoding terminal = Encoding::kUtf8) {
  Loaded loaded;
  Reporter reporter(Language::kEnglish, terminal,
                    [&](std::string_view s) { loaded.said += s; });
  loaded.text = source_as_sjis(bytes, "p.zem", reporter);
  return loaded;
}

TEST(SourceText, Utf8SourceIsConvertedAndShiftJisKept) {
  const std::string program = "はじめ\n\t見る(\"表示ソ十\");\nおわり\n";
  EXPECT_EQ(load(program).text, sjis(program));
  EXPECT_EQ(load(sjis(program)).text, sjis(program));
  // ASCII alone is both; it is used as it is.
  EXPECT_EQ(load("abc\r\n").text, "abc\r\n");
  // A byte-order mark is no part of the program.
  EXPECT_EQ(load("\xEF\xBB\xBF"
                 "数a=1;\n")
                .text,
            sjis("数a=1;\n"));
  EXPECT_EQ(load("\xEF\xBB\xBF"
                 "a\n")
                .text,
            "a\n");
  // Characters with two Unicode forms reach their one Shift-JIS code.
  EXPECT_EQ(load("〜～−－").text, sjis("～～－－"));
}

TEST(SourceText, CharacterWithoutShiftJisFormIsNamedWithItsPlace) {
  const Loaded loaded = load("はじめ\n\t見る(\"café\");\n");
  EXPECT_FALSE(loaded.text);
  EXPECT_EQ(loaded.said,
            "p.zem:2:9: error: 'é' (U+00E9) has no Shift-JIS form; write it "
            "another way\n");
  // A Shift-JIS terminal gets the code alone.
  EXPECT_EQ(load("😀", Encoding::kShiftJis).said,
            "p.zem:1:1: error: U+1F600 has no Shift-JIS form; write it another "
            "way\n");
}

TEST(SourceText, NeitherUtf8NorShiftJisIsRefused) {
  const Loaded loaded = load(sjis("数a=1;\n見る") + "\x80\n");
  EXPECT_FALSE(loaded.text);
  EXPECT_EQ(loaded.said,
            "p.zem:2:3: error: the source is neither UTF-8 nor Shift-JIS here "
            "(byte 0x80)\n");
  EXPECT_FALSE(load("\x85\x40").text);  // an unassigned double-byte code
}

TEST(SourceText, Utf8Validity) {
  EXPECT_TRUE(is_valid_utf8("ascii, 日本語, \xF0\x9F\x98\x80"));
  EXPECT_FALSE(is_valid_utf8(sjis("日本語")));
  EXPECT_FALSE(is_valid_utf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(is_valid_utf8("\xE0\x80\xAF"));      // overlong
  EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(is_valid_utf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(is_valid_utf8("\xE6\x97"));          // cut short
}

}  // namespace
}  // namespace zemuc
