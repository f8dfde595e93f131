#include "exercise/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace zemuc::exercise {
namespace {

// A file the teacher wrote wrong is told at the line and column where it
// is wrong, naming what is wrong.
TEST(ExerciseSettings, ProblemsAtTheirPlace) {
  const struct {
    const char* toml;
    std::size_t line;
    std::size_t column;
    const char* english_starts;
    const char* subject;
  } cases[] = {
      {"title = \"a\"\ntitel = \"b\"\n", 2, 1, "unknown key", "titel"},
      {"title = \"a\"\ntime_limit = \"2\"\n", 2, 14, "{} takes a number",
       "time_limit"},
      {"time_limit = 0\n", 1, 14, "time_limit is", "0"},
      {"time_limit = 61\n", 1, 14, "time_limit is", "61"},
      {"compare = \"words\"\n", 1, 11, "compare is one of", "words"},
      {"fullwidth = 1\n", 1, 13, "{} takes true", "fullwidth"},
      {"points = 1.5\n", 1, 10, "{} takes a whole", "points"},
      {"points = -1\n", 1, 10, "points is", "-1"},
      {"title = 3\n", 1, 9, "{} takes a string", "title"},
      {"cases = 3\n", 1, 1, "{} must be a table", "cases"},
      {"[cases.2]\ntime = 3\n", 2, 1, "unknown key", "time"},
      {"\n\ntitle = \"a\n", 3, 0, "not valid TOML", nullptr},
      {"title = \"a\"\ntitle = \"b\"\n", 2, 0, "not valid TOML", nullptr},
  };
  for (const auto& c : cases) {
    const auto read = read_settings(c.toml);
    ASSERT_TRUE(std::holds_alternative<SettingsProblem>(read)) << c.toml;
    const SettingsProblem& problem = std::get<SettingsProblem>(read);
    EXPECT_EQ(problem.line, c.line) << c.toml;
    if (c.column != 0) {
      EXPECT_EQ(problem.column, c.column) << c.toml;
    }
    EXPECT_TRUE(std::string(problem.text.english).starts_with(c.english_starts))
        << c.toml << problem.text.english;
    EXPECT_FALSE(problem.text.japanese.empty());
    if (c.subject != nullptr) {
      EXPECT_EQ(problem.subject, c.subject) << c.toml;
    }
  }
}

// Defaults, and a case's changes starting from the defaults wherever they
// stand in the file.
TEST(ExerciseSettings, DefaultsAndCaseChanges) {
  const auto empty = read_settings("");
  ASSERT_TRUE(std::holds_alternative<Settings>(empty));
  const Settings& plain = std::get<Settings>(empty);
  EXPECT_EQ(plain.statement, "task.md");
  EXPECT_EQ(plain.defaults.time_limit, 2);
  EXPECT_EQ(plain.defaults.compare, Compare::kLines);
  EXPECT_FALSE(plain.defaults.fullwidth);

  const auto read = read_settings(
      "[cases.big]\ntime_limit = 5\n\n[cases.w]\ncompare = \"exact\"\n");
  ASSERT_TRUE(std::holds_alternative<Settings>(read));
  const auto later = read_settings("[cases.big]\ntime_limit = 5\n[x]\n");
  EXPECT_TRUE(std::holds_alternative<SettingsProblem>(later));
  const auto ordered = read_settings(
      "compare = \"tokens\"\npoints = 3\n[cases.big]\ntime_limit = 5\n");
  const Settings& settings = std::get<Settings>(ordered);
  EXPECT_EQ(settings.for_case("big").time_limit, 5);
  EXPECT_EQ(settings.for_case("big").compare, Compare::kTokens);
  EXPECT_EQ(settings.for_case("big").points, 3);
  EXPECT_EQ(settings.for_case("other").time_limit, 2);
}

}  // namespace
}  // namespace zemuc::exercise
