// The tables' C names read back: only the names the translation writes
// for entries that exist.
#include "symbols/c_names.h"

#include <gtest/gtest.h>

#include <string>

#include "support/lines.h"
#include "support/sjis.h"
#include "symbols/declare.h"

namespace zemuc::testing {
namespace {

struct NameCase {
  const char* c_name;
  bool found;
  TableEntry::Table table;
  std::size_t index;
  const char* name;  // UTF-8
};

TEST(CNames, EntryNamedFindsWhatTheTablesWrite) {
  SymbolTables tables;
  for (const char* line : {"数a=字b;\n", "開く(出力,\"o\",w);\n"}) {
    TokenLine tokens;
    set_line(tokens, sjis(line));
    declare_line(tables, tokens);
  }
  tables.counters.declared = 2;
  using T = TableEntry::Table;
  const NameCase cases[] = {
      {"nn1", true, T::kVariables, 1, "数a"},
      {"cc2", true, T::kVariables, 2, "字b"},
      {"cc1", false, {}, 0, ""},  // variable 1 is a number
      {"nn3", false, {}, 0, ""},  // past the table
      {"fp1", true, T::kFiles, 1, "出力"},
      {"fp2", false, {}, 0, ""},
      {"rep2", true, T::kCounters, 2, ""},
      {"rep3", false, {}, 0, ""},
      {"nn01", false, {}, 0, ""},
      {"nn", false, {}, 0, ""},
      {"nn1a", false, {}, 0, ""},
      {"nn+1", false, {}, 0, ""},
      {"xnn1", false, {}, 0, ""},
      {"fp99999999999999999999999", false, {}, 0, ""},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.c_name);
    const std::optional<TableEntry> entry = entry_named(tables, c.c_name);
    ASSERT_EQ(entry.has_value(), c.found);
    if (!entry) continue;
    EXPECT_EQ(entry->table, c.table);
    EXPECT_EQ(entry->index, c.index);
    EXPECT_EQ(entry->name, sjis(c.name));
  }
}

TEST(CNames, SpelledAsTheTranslationWrites) {
  SymbolTables tables;
  EXPECT_EQ(spelled(tables.files.var(12)), "fp12");
  EXPECT_EQ(spelled(tables.counters.var(1)), "");  // never declared
}

}  // namespace
}  // namespace zemuc::testing
