// Sources no one writes on purpose: the check stays linear and finishes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/check_support.h"

namespace zemuc::testing {
namespace {

using check::Finding;
using check::Problem;

std::size_t findings_on_line(const std::vector<Finding>& findings,
                             std::size_t line) {
  std::size_t n = 0;
  for (const Finding& f : findings) n += f.line == line;
  return n;
}

// An empty source builds no more than any other without はじめ.
TEST(CheckHostile, EmptySourcesLackTheirBegin) {
  for (const char* empty : {"", "\n", "\r\n \t\n"}) {
    EXPECT_EQ(
        check::check_source(empty),
        std::vector<Finding>{finding(1, 1, Problem::kBeginMissing, "はじめ")})
        << empty;
  }
}

TEST(CheckHostile, NulBytesAreOrdinaryBytes) {
  const std::string nul(1, '\0');
  const std::string source = sjis("はじめ\n") + nul + nul + "\n" +
                             sjis("\t見る(\"a") + nul + sjis("\",数a);\n数a=") +
                             nul + sjis(";\nおわり\n");
  EXPECT_EQ(check::check_source(source), std::vector<Finding>{});
  // A NUL right after a keyword joins the two, as any ordinary byte does.
  EXPECT_EQ(check::check_source(sjis("はじめ\n見る") + std::string(1, '\0') +
                                sjis("(\"x\");\nおわり\n")),
            (std::vector<Finding>{
                check::Finding{2, 1, Problem::kKeywordGlued, sjis("見る")}}));
}

TEST(CheckHostile, InvalidShiftJisStillGivesPlaces) {
  // Lone lead bytes, bytes that start no character, a lead byte before a
  // line feed and at the very end.
  const std::string source = sjis("はじめ\n") + "\x81\n\x80\xFF\xFD;\x9F" +
                             sjis("見る\"x\"\n") + "\xE0";
  const std::vector<Finding> findings = check::check_source(source);
  ASSERT_FALSE(findings.empty());
  for (const Finding& f : findings) {
    EXPECT_GE(f.line, 1u);
    EXPECT_LE(f.line, 4u);
    EXPECT_GE(f.column, 1u);
  }
}

TEST(CheckHostile, TenMegabyteLines) {
  constexpr std::size_t kSize = 10 * 1024 * 1024;
  const std::string head = sjis("はじめ\n");
  const std::string tail = sjis("\nおわり\n");
  // One long text, one line of mistakes without end, one of braces, one of
  // spaces in an unclosed quote.
  std::string mistakes;
  while (mistakes.size() < kSize) mistakes += sjis("数a!,見る\"x\",数マ,");
  const std::vector<std::string> lines = {
      sjis("\t字s=\"") + std::string(kSize, 'x') + "\";", mistakes,
      std::string(kSize, '{'), "\"" + std::string(kSize, ' ')};
  for (const std::string& line : lines) {
    const std::vector<Finding> findings =
        check::check_source(head + line + tail);
    // A line keeps its first findings only.
    EXPECT_LE(findings_on_line(findings, 2), 16u);
    EXPECT_LE(findings.size(), 40u);
  }
}

TEST(CheckHostile, ALineFullOfMistakesStillNamesTheStopOfTheTranslation) {
  std::string line = "\t";
  for (int i = 0; i < 40; ++i) line += "数a" + std::to_string(i) + "!,";
  const std::vector<Finding> findings =
      check_utf8("はじめ\n" + line + "}見る\nおわり\n");
  EXPECT_EQ(findings_on_line(findings, 2), 16u);
  EXPECT_EQ(findings.back().problem, Problem::kDisplayNothing);
}

TEST(CheckHostile, ManyShortLinesOfMistakes) {
  std::string source = sjis("はじめ\n");
  for (int i = 0; i < 20'000; ++i)
    source += sjis("\t見る();\n\t数a!=1;\n\t}\n");
  const std::vector<Finding> findings = check::check_source(source);
  // Each display and each stray brace, the name once, the missing end.
  EXPECT_EQ(findings.size(), 20'000u * 2 + 2);
}

}  // namespace
}  // namespace zemuc::testing
