#include "driver/output_name.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/sjis.h"

namespace zemuc::testing {
namespace {

TEST(OutputName, LastFourBytesBecomeDotC) {
  const struct {
    std::string source;  // UTF-8
    std::string output;
  } cases[] = {
      {"keisan.zem", "keisan.c"},
      {"data/keisan.zem", "data/keisan.c"},
      {"memo.txt", "memo.c"},
      {"a.zemx", "a..c"},
      {"ab.c1", "a.c"},
      {".zem", ".c"},
      {"abcd", ".c"},
      {"計算.zem", "計算.c"},
      // The cut counts bytes: it may split a double-byte character.
      {"計算", ".c"},
      {"計算.z", "計.c"},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> output = output_name_for(sjis(c.source));
    ASSERT_TRUE(output.has_value()) << c.source;
    EXPECT_EQ(*output, sjis(c.output)) << c.source;
  }
}

TEST(OutputName, NoneForFewerThanFourBytes) {
  for (const char* source : {"", "a", "a.z", "abc"}) {
    EXPECT_EQ(output_name_for(source), std::nullopt) << source;
  }
  EXPECT_EQ(output_name_for(std::string_view("\x8C\x76", 2)), std::nullopt);
}

TEST(OutputName, LongNamesAreAccepted) {
  const std::string base(1000, 'n');
  EXPECT_EQ(output_name_for(base + ".zem"), base + ".c");
}

}  // namespace
}  // namespace zemuc::testing
