#include "lexer/keywords.h"

#include <gtest/gtest.h>

#include <string>

#include "support/lines.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

TEST(KeywordOf, EachKeywordAsAWholeToken) {
  const struct {
    const char* token;
    Keyword keyword;
  } cases[] = {
      {"見る", Keyword::kDisplay},
      {"打つ", Keyword::kInput},
      {"はじめ", Keyword::kBegin},
      {"くり返し", Keyword::kRepeat},
      {"開く", Keyword::kOpen},
      {"閉じる", Keyword::kClose},
      {"読む", Keyword::kRead},
      {"書く", Keyword::kWrite},
      {"おわり", Keyword::kEnd},
      {"読みきり", Keyword::kReadAll},
      // Anything more or less than the whole keyword is none.
      {"", Keyword::kNone},
      {"見", Keyword::kNone},
      {"見る見る", Keyword::kNone},
      {"見るx", Keyword::kNone},
      {"x見る", Keyword::kNone},
      {"読み", Keyword::kNone},
      {"読みきりx", Keyword::kNone},
      {"else 見る", Keyword::kNone},
      {"\"見る\"", Keyword::kNone},
      {"くり返す", Keyword::kNone},
      {"abcd", Keyword::kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(keyword_of(sjis(c.token)), c.keyword) << c.token;
  }
}

// A token that differs from a keyword in any one byte, or has its length
// and second byte but other bytes, is none: the lookup by length and second
// byte only picks the keyword to compare with.
TEST(KeywordOf, EveryOtherByteCounts) {
  for (const char* utf8_keyword :
       {"見る", "打つ", "はじめ", "くり返し", "開く", "閉じる", "読む", "書く",
        "おわり", "読みきり"}) {
    const std::string keyword = sjis(utf8_keyword);
    ASSERT_NE(keyword_of(keyword), Keyword::kNone) << utf8_keyword;
    for (std::size_t i = 0; i < keyword.size(); ++i) {
      for (int delta : {1, -1, 0x40}) {
        std::string other = keyword;
        other[i] = static_cast<char>(other[i] + delta);
        EXPECT_EQ(keyword_of(other), Keyword::kNone) << utf8_keyword << i;
      }
    }
    EXPECT_EQ(keyword_of(keyword.substr(0, keyword.size() - 2)),
              Keyword::kNone);
    EXPECT_EQ(keyword_of(keyword + "ab"), Keyword::kNone);
  }
}

TEST(FindKeyword, EarliestKeywordTokenWins) {
  const struct {
    const char* line;
    Keyword keyword;
    std::size_t position;
  } cases[] = {
      {"はじめ\n", Keyword::kBegin, 1},
      {"おわり;\n", Keyword::kEnd, 1},
      {"\t\t見る(\"x\");\n", Keyword::kDisplay, 3},
      {"}読む(入力,数a);\n", Keyword::kRead, 2},
      // Two keywords: the one at the lower position, whatever their order
      // in the keyword table.
      {"打つ(見る);\n", Keyword::kInput, 1},
      {"閉じる(はじめ);\n", Keyword::kClose, 1},
      {"数a=くり返し;\n", Keyword::kRepeat, 2},
      // Joined to other text, a keyword is no keyword.
      {"見る打つ(数a);\n", Keyword::kNone, 0},
      {"見る 打つ(数a);\n", Keyword::kNone, 0},
      {"見る数a;\n", Keyword::kNone, 0},
      // else, its blank and the keyword form one token ...
      {"} else 見る(\"x\");\n", Keyword::kNone, 0},
      // ... unless a delimiter stands between them.
      {"}else\t見る(\"x\");\n", Keyword::kDisplay, 3},
      {"}else{見る(\"x\");\n", Keyword::kDisplay, 3},
      {"見直す(\"見る\");\n", Keyword::kNone, 0},
      {"数a=1;見る(\"x\");\n", Keyword::kNone, 0},
      {"\n", Keyword::kNone, 0},
  };
  TokenLine line;
  for (const auto& c : cases) {
    set_line(line, sjis(c.line));
    const KeywordHit hit = find_keyword(line);
    EXPECT_EQ(hit.keyword, c.keyword) << c.line;
    EXPECT_EQ(hit.position, c.position) << c.line;
  }
}

}  // namespace
}  // namespace zemuc::testing
