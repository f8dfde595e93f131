// The front end of a source: which encoding it is read in, where the bad
// character stands, and the editor's text with stand-ins.
#include "text/source_text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/sjis.h"
#include "text/words.h"

namespace zemuc {
namespace {

using testing::sjis;

TEST(SourceText, PlacesCountCharactersAndLines) {
  const std::string text = "ab\n日本x";
  EXPECT_EQ(place_of(text, 0, Encoding::kUtf8).column, 1u);
  const Place x = place_of(text, text.find('x'), Encoding::kUtf8);
  EXPECT_EQ(x.line, 2u);
  EXPECT_EQ(x.column, 3u);
  const std::string s = sjis(text);
  EXPECT_EQ(place_of(s, s.find('x'), Encoding::kShiftJis).column, 3u);
}

struct ConvertCase {
  std::string bytes;
  SourceSjis::Problem problem;
  std::size_t skipped;
  Encoding encoding;
  std::string character;  // the bad one
  std::size_t line;
  std::size_t column;  // counted after the byte-order mark
};

TEST(SourceText, ConvertSourceNamesTheReadingAndTheBadCharacter) {
  using P = SourceSjis::Problem;
  const std::string bom(kByteOrderMark);
  const ConvertCase cases[] = {
      {"", P::kNone, 0, Encoding::kShiftJis, "", 1, 1},
      {bom, P::kNone, 3, Encoding::kUtf8, "", 1, 1},
      {bom + "a\n", P::kNone, 3, Encoding::kUtf8, "", 1, 1},
      {"見る", P::kNone, 0, Encoding::kUtf8, "", 1, 1},
      {sjis("見る"), P::kNone, 0, Encoding::kShiftJis, "", 1, 1},
      {bom + "é", P::kNoShiftJis, 3, Encoding::kUtf8, "é", 1, 1},
      {"a\n見😀", P::kNoShiftJis, 0, Encoding::kUtf8, "😀", 2, 2},
      // A byte-order mark before bytes that are no UTF-8: read as UTF-8.
      {bom + sjis("見"), P::kNoShiftJis, 3, Encoding::kUtf8, "\x8C", 1, 1},
      {sjis("見\n") + "a\x80", P::kNotShiftJis, 0, Encoding::kShiftJis, "\x80",
       2, 2},
  };
  for (const ConvertCase& c : cases) {
    const SourceSjis source = convert_source(c.bytes);
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(source.problem, c.problem);
    EXPECT_EQ(source.reading.skipped, c.skipped);
    EXPECT_EQ(source.reading.encoding, c.encoding);
    EXPECT_EQ(source.character, c.character);
    if (c.problem == P::kNone) {
      EXPECT_EQ(source.sjis, c.encoding == Encoding::kUtf8
                                 ? sjis(c.bytes.substr(c.skipped))
                                 : c.bytes);
    } else {
      EXPECT_EQ(source.sjis, "");
      EXPECT_EQ(source.place.line, c.line);
      EXPECT_EQ(source.place.column, c.column);
    }
  }
  EXPECT_EQ(convert_source("😀").code, U'\U0001F600');
}

TEST(SourceText, SourceFormStandsInForEachCharacterWithoutShiftJis) {
  const std::string text = std::string(kByteOrderMark) + "😀a😀😀\n";
  const SourceForm form = source_form(text, "?");
  EXPECT_TRUE(form.converted);
  EXPECT_EQ(form.skipped, 3u);
  EXPECT_EQ(form.sjis, "?a??\n");
  ASSERT_EQ(form.unconvertible.size(), 3u);
  EXPECT_EQ(form.unconvertible[0].offset, 3u);
  EXPECT_EQ(form.unconvertible[1].offset, 8u);
  EXPECT_EQ(form.unconvertible[2].offset, 12u);
  EXPECT_EQ(form.unconvertible[2].length, 4u);
  EXPECT_EQ(form.unconvertible[2].code, U'\U0001F600');
}

TEST(Words, TrimmedTakesTheBlanksAFormatNames) {
  EXPECT_EQ(trimmed(" \t5\r\n"), "5");
  EXPECT_EQ(trimmed(" \t5\r ", " \t"), "5\r");
  EXPECT_EQ(trimmed(" \t ", " \t"), "");
}

}  // namespace
}  // namespace zemuc
