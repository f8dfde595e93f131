#include "text/encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "support/sjis.h"

namespace zemuc {
namespace {

using testing::sjis;

TEST(TerminalEncoding, ShiftJisNamesInAnyCase) {
  for (const char* name : {"SJIS", "Shift_JIS", "cp932", "WINDOWS-31J"}) {
    EXPECT_TRUE(is_shift_jis_codeset(name)) << name;
  }
  for (const char* name : {"UTF-8", "ANSI_X3.4-1968", "EUC-JP", ""}) {
    EXPECT_FALSE(is_shift_jis_codeset(name)) << name;
  }
}

TEST(StreamConverter, CharacterSplitBetweenPiecesIsConvertedWhole) {
  const std::string text = sjis("表示ソ十");
  StreamConverter converter(Encoding::kShiftJis, Encoding::kUtf8);
  std::string out;
  // Every split point, lead bytes cut from their trail bytes included.
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    StreamConverter c(Encoding::kShiftJis, Encoding::kUtf8);
    out = c.feed(text.substr(0, cut));
    out += c.feed(text.substr(cut));
    out += c.finish();
    EXPECT_EQ(out, "表示ソ十") << "cut at " << cut;
  }
}

TEST(StreamConverter, WholeCharactersAreNotHeldBack) {
  // A prompt without a line end must show at once.
  StreamConverter converter(Encoding::kShiftJis, Encoding::kUtf8);
  EXPECT_EQ(converter.feed(sjis("--->何か")), "--->何か");
  EXPECT_EQ(converter.feed(std::string_view("\x95", 1)), "");
  EXPECT_EQ(converter.feed("\xB6"), "文");
}

TEST(StreamConverter, BytesWithoutAFormBecomeReplacementsAndGoOn) {
  StreamConverter to_utf8(Encoding::kShiftJis, Encoding::kUtf8);
  // 0x80 is no character; 85 40 is an unassigned double-byte code.
  EXPECT_EQ(to_utf8.feed("a\x80"
                         "b\x85\x40"
                         "c\n"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD"
            "c\n");
  // A lead byte whose second byte is a line feed loses only itself.
  EXPECT_EQ(to_utf8.feed("\x88\n"), "\xEF\xBF\xBD\n");
  // A lead byte left at the end of the stream.
  EXPECT_EQ(to_utf8.feed("x\x88"), "x");
  EXPECT_EQ(to_utf8.finish(), "\xEF\xBF\xBD");

  StreamConverter to_sjis(Encoding::kUtf8, Encoding::kShiftJis);
  EXPECT_EQ(to_sjis.feed("caf\xC3\xA9 \xF0\x9F\x98\x80!"), "caf? ?!");
  EXPECT_EQ(to_sjis.feed("\xFF"
                         "字"),
            std::string("?").append(sjis("字")));
}

TEST(StreamConverter, SameEncodingPassesBytesThrough) {
  StreamConverter same(Encoding::kShiftJis, Encoding::kShiftJis);
  const std::string bytes("\x80\x00\x88", 3);
  EXPECT_EQ(same.feed(bytes), bytes);
  EXPECT_EQ(same.finish(), "");
}

TEST(ConvertAll, ReportsTheFirstCharacterWithoutAForm) {
  std::size_t bad_at = 0;
  EXPECT_EQ(convert_all("数a=1", Encoding::kUtf8, Encoding::kShiftJis),
            sjis("数a=1"));
  EXPECT_FALSE(convert_all("見る(\"caf\xC3\xA9\")", Encoding::kUtf8,
                           Encoding::kShiftJis, &bad_at));
  EXPECT_EQ(bad_at, 11u);
  EXPECT_FALSE(
      convert_all("ab\x80", Encoding::kShiftJis, Encoding::kUtf8, &bad_at));
  EXPECT_EQ(bad_at, 2u);
}

}  // namespace
}  // namespace zemuc
