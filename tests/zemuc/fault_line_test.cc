// The parts of naming a fault's line without checks: the program's note
// read as an address, and a tool's answer read as a place.
#include "zemuc/fault_line.h"

#include <gtest/gtest.h>

namespace zemuc::testing {
namespace {

TEST(FaultLine, TheNoteGivesTheAddressToAsk) {
  const struct {
    const char* note;
    bool relocatable;
    std::optional<std::uint64_t> address;
  } cases[] = {
      {"0x55e896154596 0x55e896153000\n", true, 0x1596},
      {"0x400b09 0x400000\n", false, 0x400b09},
      {"0x1000 0x1000\n", true, 0},
      // Below where the program was loaded: not the program's.
      {"0x7fff 0x55e896153000\n", true, std::nullopt},
      // Cut short, as by a full disk, or not a note at all.
      {"0x55e896154596 0x55e89615", true, std::nullopt},
      {"0x55e896154596\n", true, std::nullopt},
      {"", true, std::nullopt},
      {"0x 0x1\n", false, std::nullopt},
      {"55e8 4000\n", false, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fault_address(c.note, c.relocatable), c.address) << c.note;
  }
}

TEST(FaultLine, TheToolsAnswerGivesThePlace) {
  const struct {
    const char* answer;
    bool llvm;
    const char* file;  // nullptr: no place
    std::size_t line;
  } cases[] = {
      {"/tmp/x/p.zem:9\n", false, "/tmp/x/p.zem", 9},
      {"/tmp/x/p.zem:7 (discriminator 1)\n", false, "/tmp/x/p.zem", 7},
      {"/tmp/x/p.zem:9:3\n\n", true, "/tmp/x/p.zem", 9},
      {"/tmp/a:b/p.zem:12:0\n", true, "/tmp/a:b/p.zem", 12},
      {"<translator>:40\n", false, "<translator>", 40},
      {"??:0\n", false, nullptr, 0},
      {"??:?\n", false, nullptr, 0},
      {"??:0:0\n\n", true, nullptr, 0},
      {"/tmp/x/p.zem:9\n", true, nullptr, 0},  // no column: not llvm's
      {"", false, nullptr, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    const std::optional<ToolPlace> place = tool_place(c.answer, c.llvm);
    ASSERT_EQ(place.has_value(), c.file != nullptr);
    if (!place) continue;
    EXPECT_EQ(place->file, c.file);
    EXPECT_EQ(place->line, c.line);
  }
}

}  // namespace
}  // namespace zemuc::testing
