// Places as tools write them: the numbers after the last colons, the file
// before them, and nothing where no number ends the text.
#include "explain/file_place.h"

#include <gtest/gtest.h>

namespace zemuc::explain {
namespace {

TEST(FilePlace, NumbersAfterTheLastColons) {
  const struct {
    const char* where;
    bool found;
    const char* file;
    std::size_t line, column;
  } cases[] = {
      {"p.zem:4:11", true, "p.zem", 4, 11},
      {"p.zem:4", true, "p.zem", 4, 0},
      {"a:b.zem:2:5", true, "a:b.zem", 2, 5},
      {"/tmp/x:1:2:3", true, "/tmp/x:1", 2, 3},
      {":7", true, "", 7, 0},
      {"p.zem:0", true, "p.zem", 0, 0},
      {"p.zem", false, "", 0, 0},
      {"p.zem:", false, "", 0, 0},
      {"p.zem:4:", false, "", 0, 0},
      {"p.zem:4x", false, "", 0, 0},
      {"p.zem:-4", false, "", 0, 0},
      {"p.zem:+4", false, "", 0, 0},
      {"p.zem: 4", false, "", 0, 0},
      // More than any line holds is no number.
      {"p.zem:99999999999999999999999", false, "", 0, 0},
      {"", false, "", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    const std::optional<FilePlace> place = file_place(c.where);
    ASSERT_EQ(place.has_value(), c.found);
    if (!place) continue;
    EXPECT_EQ(place->file, c.file);
    EXPECT_EQ(place->line, c.line);
    EXPECT_EQ(place->column, c.column);
  }
}

TEST(FilePlace, NumbersInBase16) {
  EXPECT_EQ(number_of<std::uint32_t>("5024", 16), 0x5024u);
  EXPECT_EQ(number_of<std::uint32_t>("FFFFFFFF", 16), 0xFFFFFFFFu);
  EXPECT_EQ(number_of<std::uint32_t>("100000000", 16), std::nullopt);
  EXPECT_EQ(number_of<std::uint32_t>("0x10", 16), std::nullopt);
  EXPECT_EQ(number_of<std::uint32_t>("12g", 16), std::nullopt);
  EXPECT_EQ(leading_number<std::size_t>("7ffc2a thread", 16), 0x7ffc2au);
  EXPECT_EQ(leading_number<std::size_t>("x", 16), 0u);
}

}  // namespace
}  // namespace zemuc::explain
