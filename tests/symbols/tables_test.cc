#include "symbols/tables.h"

#include <gtest/gtest.h>

#include <string>

#include "io/output.h"
#include "support/lines.h"
#include "support/sjis.h"
#include "symbols/declare.h"

namespace zemuc::testing {
namespace {

std::string text_of(const CName& name) {
  std::string text;
  {
    StringSink sink(text);
    Output out(sink);
    out << name;
  }
  return text;
}

void declare(SymbolTables& tables, const std::string& utf8_line) {
  TokenLine line;
  set_line(line, sjis(utf8_line));
  declare_line(tables, line);
}

TEST(FindVariable, ByWholeName) {
  SymbolTables tables;
  declare(tables, "数a=字b+数c;\n");
  EXPECT_EQ(find_variable(tables, sjis("数a")), 1u);
  EXPECT_EQ(find_variable(tables, sjis("字b")), 2u);
  EXPECT_EQ(find_variable(tables, sjis("数c")), 3u);
  for (const char* other : {"数", "数a!", "数ab", "a", "", "字"}) {
    EXPECT_EQ(find_variable(tables, sjis(other)), 0u) << other;
  }
}

TEST(FindFile, FirstEntryOfANameWins) {
  SymbolTables tables;
  declare(tables, "開く(甲,\"1\",w);\n");
  declare(tables, "開く(乙,\"2\",r);\n");
  declare(tables, "開く(甲,\"3\",r);\n");
  EXPECT_EQ(tables.files.count(), 3u);
  EXPECT_EQ(find_file(tables, sjis("甲")), 1u);
  EXPECT_EQ(find_file(tables, sjis("乙")), 2u);
  EXPECT_EQ(find_file(tables, sjis("丙")), 0u);
}

// Past 99 entries every table works the same, and the first entry of a
// name still wins after the index has grown several times.
TEST(Tables, GrowPastNinetyNineEntries) {
  SymbolTables tables;
  for (int i = 1; i <= 300; ++i) {
    const std::string n = std::to_string(i);
    declare(tables, "数v" + n + "=1;\n");
    declare(tables, "開く(f" + n + ",\"p" + n + "\",r);\n");
    declare(tables, "開く(f" + n + ",\"q\",w);\n");  // a second entry
    declare(tables, "くり返し(3){\n");
  }
  ASSERT_EQ(tables.variables.count(), 300u);
  ASSERT_EQ(tables.files.count(), 600u);
  ASSERT_EQ(tables.counters.count, 300u);
  EXPECT_EQ(text_of(tables.variables.var(100)), "nn100");
  EXPECT_EQ(text_of(tables.files.var(100)), "fp100");
  EXPECT_EQ(text_of(tables.counters.var(100)), "rep100");
  EXPECT_EQ(text_of(tables.counters.var(300)), "rep300");
  EXPECT_EQ(text_of(tables.counters.var(301)), "");  // never declared
  for (int i = 1; i <= 300; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_EQ(find_variable(tables, sjis("数v" + n)),
              static_cast<std::size_t>(i));
    const std::size_t f = find_file(tables, "f" + n);
    ASSERT_EQ(f, static_cast<std::size_t>(2 * i - 1));
    EXPECT_EQ(tables.files[f].fname, "\"p" + n + "\"");
    EXPECT_EQ(tables.files[f].prop, 'r');
  }
}

// A long name is kept whole, and the names stored before it stay valid.
TEST(Tables, KeepLongNames) {
  SymbolTables tables;
  declare(tables, "数a=1;\n");
  const std::string long_name = "数" + std::string(100 * 1024, 'x');
  declare(tables, long_name + "=1;\n");
  declare(tables, "数b=1;\n");
  EXPECT_EQ(tables.variables[1].name, sjis("数a"));
  EXPECT_EQ(tables.variables[2].name, sjis(long_name));
  EXPECT_EQ(find_variable(tables, sjis(long_name)), 2u);
  EXPECT_EQ(find_variable(tables, sjis("数b")), 3u);
}

}  // namespace
}  // namespace zemuc::testing
