// The declaration scan of lines where they lie against the scan of their
// TokenLines: the same tables, entry for entry, whatever the lines.
#include "symbols/declare_raw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/dump.h"
#include "support/lines.h"
#include "support/sjis.h"
#include "symbols/declare.h"

namespace zemuc::testing {
namespace {

// Both scans over the same Shift-JIS lines, each ended by a line feed,
// into tables that grow line after line.
void expect_same_tables(const std::vector<std::string>& lines) {
  SymbolTables plain, raw;
  TokenLine line, scratch;
  for (const std::string& text : lines) {
    set_line(line, text);
    declare_line(plain, line);
    declare_raw_line(raw, scratch, RawLine(text).view());
  }
  ASSERT_EQ(utf8(dump_of(raw)), utf8(dump_of(plain)));
}

// Lines built from pieces that declare, stop the scan or change the
// tokens: names, both keywords, delimiters, a space, quotes, the end.
TEST(DeclareRaw, SameTablesOnEveryShortLine) {
  const std::vector<std::string> pieces = {
      sjis("数a"),  sjis("字b"), sjis("くり返し"),
      sjis("開く"), ",",         " ",
      "\"",         ";",         "(",
      "r"};
  std::vector<std::string> texts = {""}, lines;
  for (int length = 1; length <= 4; ++length) {
    std::vector<std::string> longer;
    for (const std::string& t : texts) {
      for (const std::string& p : pieces) longer.push_back(t + p);
    }
    for (const std::string& t : longer) lines.push_back(t + "\n");
    texts = std::move(longer);
  }
  expect_same_tables(lines);
}

TEST(DeclareRaw, SameTablesOnFileLines) {
  expect_same_tables({
      sjis("字p=\"in.txt\";\n"),
      sjis("開く(入力,字p,r);\n"),
      sjis("くり返し(3){開く(出力,字q,w);くり返し(2){\n"),
      sjis("\tくり返し(数n){開く(字f,数n,r)\n"),
      sjis("数x, 開く(乙, \"a b\" , r);\n"),
      sjis("くり返し 開く(丙,\"c\",r)\n"),
      sjis("くり返し(3) , 数y = 数z;\n"),
      sjis("開く(丁)\n"),
      sjis("開く\n"),
      sjis("字s=\"開く(戊,\"x\",r)\";\n"),
  });
}

// A line without its line feed, as no reader gives one, is still declared.
TEST(DeclareRaw, TakesATextWithoutLineFeed) {
  SymbolTables tables;
  TokenLine scratch;
  declare_raw_line(tables, scratch, sjis("数a=字b"));
  EXPECT_EQ(tables.variables.count(), 2u);
}

}  // namespace
}  // namespace zemuc::testing
