#include "exercise/compare.h"

#include <gtest/gtest.h>

#include <string>

#include "exercise/results.h"

namespace zemuc::exercise {
namespace {

using Kind = Difference::Kind;

constexpr const char* kClosing = "--->何か文字を入れれば終わるよ";

// Each mode at its edges: what passes, and where and how what fails
// differs first.
TEST(ExerciseCompare, ModesAtTheirEdges) {
  const std::string closed = std::string("a\n") + kClosing;
  const struct {
    Compare compare;
    bool fullwidth;
    std::string expected;
    std::string got;
    bool passes;
    std::size_t unit;  // where it differs
    Kind kind;
  } cases[] = {
      // The closing line is left out on both sides, where it stands last.
      {Compare::kExact, false, "a\n", closed, true, 0, Kind::kOther},
      {Compare::kExact, false, closed, "a\n", true, 0, Kind::kOther},
      {Compare::kExact, false, "a\n", closed + "\n", true, 0, Kind::kOther},
      {Compare::kLines, false, "a\n", std::string(kClosing) + "a\n", false, 1,
       Kind::kOther},
      // Exactly: every byte counts.
      {Compare::kExact, false, "a\n", "a", false, 2, Kind::kLineEnd},
      {Compare::kExact, false, "a\n", "a \n", false, 1, Kind::kSpaces},
      {Compare::kExact, false, "a\nb\n", "a\r\nb\r\n", false, 1,
       Kind::kLineEnd},
      // By lines: blanks at line ends and a missing last line end pass.
      {Compare::kLines, false, "a\nb\n", "a  \nb", true, 0, Kind::kOther},
      {Compare::kLines, false, "a\r\nb\r\n", "a\nb\n", true, 0, Kind::kOther},
      {Compare::kLines, false, "a b\n", "a  b\n", false, 1, Kind::kSpaces},
      {Compare::kLines, false, "a\nb\n", "a\n\nb\n", false, 2, Kind::kLineEnd},
      {Compare::kLines, false, "a\nb\n", "a\n", false, 2, Kind::kOther},
      {Compare::kLines, false, "", "", true, 0, Kind::kOther},
      // By words: only the words count.
      {Compare::kTokens, false, "1 2\n3\n", " 1\n2   3", true, 0, Kind::kOther},
      {Compare::kTokens, false, "1 2 3\n", "1 2 4\n", false, 3, Kind::kOther},
      {Compare::kTokens, false, "1 2\n", "12\n", false, 1, Kind::kSpaces},
      // A full-width space (what a Japanese keyboard types) is a blank.
      {Compare::kLines, false, "答え\n", "答え\u3000\n", true, 0, Kind::kOther},
      {Compare::kExact, false, "答え\n", "答え\u3000\n", false, 1,
       Kind::kSpaces},
      {Compare::kTokens, false, "1 2\n", "1\u30002\n", true, 0, Kind::kOther},
      // Full-width letters and digits, only when asked.
      {Compare::kLines, false, "答え[12]\n", "答え[１２]\n", false, 1,
       Kind::kFullwidth},
      {Compare::kLines, true, "答え[12]\n", "答え[１２]\n", true, 0,
       Kind::kOther},
      {Compare::kLines, true, "Ab\n", "Ａｂ\n", true, 0, Kind::kOther},
      // Full-width punctuation is not a letter.
      {Compare::kLines, true, "a,b\n", "a，b\n", false, 1, Kind::kOther},
  };
  for (const auto& c : cases) {
    CaseSettings settings;
    settings.compare = c.compare;
    settings.fullwidth = c.fullwidth;
    const auto difference = first_difference(c.expected, c.got, settings);
    EXPECT_EQ(!difference, c.passes) << c.expected << "|" << c.got;
    if (!difference || c.passes) continue;
    EXPECT_EQ(difference->unit, c.unit) << c.expected << "|" << c.got;
    EXPECT_EQ(difference->kind, c.kind) << c.expected << "|" << c.got;
  }
}

// Marks stand under the characters that differ, two for a wide one, and
// one past the end of a line that stops short.
TEST(ExerciseCompare, MarksUnderTheDifference) {
  const struct {
    const char* expected;
    const char* got;
    const char* marks;
  } cases[] = {
      {"答え[6]", "答え[7]", "     ^"},
      {"答え[6]", "答ええ6]", "    ^^"},
      {"答え[6]", "答[6]", "  ^^^^"},
      {"abc", "ab", "  ^"},
      {"ab", "abc", "  ^"},
      {"ab", "ab ", "  ^"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(difference_marks(c.expected, c.got), c.marks) << c.got;
  }
}

// A sample's failure shows what was typed and both lines; a hidden one
// only its line; the JSON keeps a hidden case's input and output back.
TEST(ExerciseResults, HiddenCasesTellNoMore) {
  CaseResult sample;
  sample.number = 1;
  sample.points = 1;
  sample.outcome = Outcome::kWrongOutput;
  sample.input = "3\n";
  sample.difference = Difference{2, false, "答え[6]", "答え[7]", Kind::kOther};
  CaseResult hidden = sample;
  hidden.number = 2;
  hidden.hidden = true;
  hidden.input = "secret-input\n";
  hidden.difference->expected = "secret-output";
  const CaseResult results[] = {sample, hidden};
  const std::string text = results_text(results, Language::kJapanese);
  EXPECT_NE(text.find("× 1 (例)  出力が違います\n  入力:\n    3\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("    正しい出力:   答え[6]\n    あなたの出力: 答え[7]\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("× 隠し 2  出力が違います\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("secret"), std::string::npos) << text;
  EXPECT_EQ(results_json(results, true, "").find("secret"), std::string::npos);
  EXPECT_NE(text.find("2 個のうち 0 個が通りました (0 / 2 点)"),
            std::string::npos);
}

}  // namespace
}  // namespace zemuc::exercise
