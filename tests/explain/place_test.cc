// C names and places said as the learner wrote them.
#include "explain/place.h"

#include <gtest/gtest.h>

#include "explain/names.h"
#include "program/program_support.h"

namespace zemuc::testing {
namespace {

constexpr const char* kProgram =
    "はじめ\n"                      // 1
    "\t数a=数a+数a;\n"              // 2
    "\tくり返し(3){\n"              // 3
    "\t\tくり返し(数a){\n"          // 4
    "\t\t\t字s=\"ソ\";\n"           // 5
    "\t\t}\n"                       // 6
    "\t}\n"                         // 7
    "\t開く(出力,\"o.txt\",w);\n"   // 8
    "\t見る(\"a\",数a);  // 数a\n"  // 9
    "おわり\n";

TEST(LearnerNames, ThroughTheTables) {
  const Program program = program_of(kProgram);
  const struct {
    const char* c_name;
    const char* said;  // empty: no name of the translation
  } cases[] = {
      {"nn1", "数a"},
      {"cc2", "字s"},
      {"fp1", "出力"},
      {"rep1", "the counter of the くり返し on line 3"},
      {"rep2", "the counter of the くり返し on line 4"},
      {"dummy", "the line buffer the translator declares"},
      {"cc1", ""},  // variable 1 is a number
      {"nn3", ""},  // no third variable
      {"nn01", ""},
      {"rep3", ""},
      {"fp", ""},
      {"printf", ""},
  };
  for (const auto& c : cases) {
    const std::optional<explain::LearnerName> name =
        explain::learner_name(program, c.c_name);
    EXPECT_EQ(name ? explain::said(*name, Language::kEnglish) : "", c.said)
        << c.c_name;
  }
  EXPECT_EQ(explain::rename_c_names(
                program, "'nn1' and 'rep2', not nn12 or xnn1 or nn1x",
                Language::kEnglish),
            "'数a' and 'the counter of the くり返し on line 4', not nn12 or "
            "xnn1 or nn1x");
  EXPECT_EQ(explain::rename_c_names(program, "rep1", Language::kJapanese),
            "3 行目のくり返しの回数");
}

// The n-th token of a spelling in the C text is the n-th in the line.
TEST(SourcePlaces, TokensOfTheCTextInTheLine) {
  const Program program = program_of(kProgram);
  const std::string& c = program.c_text();
  const auto at = [&](std::size_t line, std::string_view token,
                      std::size_t nth) {
    std::size_t offset = program.c_begin(line);
    for (std::size_t k = 0; k <= nth; ++k) {
      offset = c.find(token, k == 0 ? offset : offset + 1);
    }
    return explain::place_of(program, offset);
  };
  const struct {
    std::size_t line;
    const char* token;
    std::size_t nth;
    std::size_t column;
  } cases[] = {
      {2, "nn1", 0, 2},
      {2, "nn1", 1, 5},
      {2, "nn1", 2, 8},
      {2, "+", 0, 7},
      {5, "cc2", 0, 4},
      {5, "\"", 0, 7},
      // What the statement writes: its keyword.
      {3, "for", 0, 2},
      {4, "rep2", 0, 3},
      {9, "printf", 0, 2},
      {9, "nn1", 0, 9},
      {8, "fp1", 0, 5},
  };
  for (const auto& k : cases) {
    const explain::SourcePlace place = at(k.line, k.token, k.nth);
    EXPECT_EQ(place.line, k.line) << k.token;
    EXPECT_EQ(place.column, k.column) << k.line << ' ' << k.token << k.nth;
  }
  // After the last token: the end of the statement, before its comment.
  const explain::SourcePlace end =
      explain::place_of(program, program.c_end(2) - 1);
  EXPECT_TRUE(end.at_end);
  EXPECT_EQ(end.column, 10u);
  EXPECT_TRUE(explain::place_of(program, 0).frame);
}

}  // namespace
}  // namespace zemuc::testing
