#include "check/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <string_view>

#include "check/check_support.h"
#include "check/problems.h"

namespace zemuc::testing {
namespace {

using check::Finding;
using check::Problem;

// The braces a template shows, each written {{ in it.
std::size_t shown_braces(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t at = text.find("{{"); at != std::string_view::npos;
       at = text.find("{{", at + 2)) {
    ++n;
  }
  return n;
}

TEST(CheckMessages, EveryProblemHasBothTextsWithItsSubject) {
  for (int p = 0; p <= static_cast<int>(Problem::kRepeatBeforeBegin); ++p) {
    const Finding f{1, 1, static_cast<Problem>(p), sjis("数ほげ")};
    SCOPED_TRACE(p);
    const std::string ja = check::finding_text(f, Language::kJapanese);
    const std::string en = check::finding_text(f, Language::kEnglish);
    EXPECT_GT(ja.size(), 30u);
    EXPECT_GT(en.size(), 30u);
    EXPECT_NE(ja, en);
    // Every name of a template was filled in: the only { left are those
    // the template shows, as {{ (no {name}, {} or a { that fmt could not
    // read, which leaves the whole template as it stands).
    const Text& check = check::problem_row(static_cast<Problem>(p)).check;
    EXPECT_EQ(static_cast<std::size_t>(std::count(ja.begin(), ja.end(), '{')),
              shown_braces(check.japanese))
        << ja;
    EXPECT_EQ(static_cast<std::size_t>(std::count(en.begin(), en.end(), '{')),
              shown_braces(check.english))
        << en;
    // Each says what to write instead, in Japanese a request.
    EXPECT_NE(ja.find("ください"), std::string::npos) << ja;
    // Every text fits a Shift-JIS terminal.
    EXPECT_TRUE(convert_all(ja, Encoding::kUtf8, Encoding::kShiftJis)) << ja;
  }
}

// Editors tell problems apart by their codes, and a failed build tells
// each problem with the shape of the program as an error of its own.
TEST(CheckMessages, EveryRowHasItsOwnCodeAndTheShapeRowsTheirErrors) {
  const std::regex kCode("[a-z]+(-[a-z]+)*");
  std::set<std::string_view> codes;
  for (int p = 0; p <= static_cast<int>(Problem::kRepeatBeforeBegin); ++p) {
    const check::ProblemRow& row = check::problem_row(static_cast<Problem>(p));
    SCOPED_TRACE(row.code);
    EXPECT_EQ(row.problem, static_cast<Problem>(p));
    EXPECT_TRUE(std::regex_match(std::string(row.code), kCode));
    EXPECT_TRUE(codes.insert(row.code).second);
    const bool shape = p >= static_cast<int>(Problem::kUnclosedBrace);
    EXPECT_EQ(row.about_shape(), shape);
    EXPECT_EQ(!row.shape.build.japanese.empty(), shape);
    EXPECT_EQ(!row.shape.build.english.empty(), shape);
    // Braces in the error are written {{ and }}, as in the check's texts:
    // fmt stops at a lone one where it cannot throw (WebAssembly).
    for (const Language language : {Language::kJapanese, Language::kEnglish}) {
      const std::string told = fill(row.shape.build, language, {});
      EXPECT_EQ(
          static_cast<std::size_t>(std::count(told.begin(), told.end(), '{')),
          shown_braces(pick(language, row.shape.build.japanese,
                            row.shape.build.english)))
          << told;
    }
    EXPECT_EQ(row.shape.whole_program, row.problem == Problem::kBeginMissing ||
                                           row.problem == Problem::kEndMissing);
  }
}

TEST(CheckMessages, KeywordsAndSubjectsAreShownInUtf8) {
  const Finding f{3, 9, Problem::kKeywordAfterElse, sjis("見る")};
  EXPECT_EQ(
      check::finding_text(f, Language::kEnglish),
      "the blank after else is kept, so else and '見る' form one word and no "
      "statement is read. Write }else{, the statement and } on lines of their "
      "own.");
  const Finding nothing{1, 1, Problem::kDisplayNothing, sjis("見る")};
  EXPECT_NE(check::finding_text(nothing, Language::kJapanese)
                .find("見る(\"見出し\",変数)"),
            std::string::npos);
}

// The mend of a name after a sign keeps the sign, and so what the line
// does.
TEST(CheckMessages, TheMendOfANameAfterASignKeepsTheSign) {
  const struct {
    const char* subject;
    const char* mend;
  } cases[] = {
      {"&数a", "&(数a)"},
      {"~数a", "~(数a)"},
      {"!数a", "!(数a)"},
      {"0&&数a", "0&&(数a)"},
      {"!数a&&数b", "!(数a)&&(数b)"},
      {"~字s\"数t\"", "~(字s)\"数t\""},
  };
  for (const auto& c : cases) {
    const Finding f{1, 1, Problem::kNameAfterSign, sjis(c.subject)};
    EXPECT_NE(check::finding_text(f, Language::kEnglish)
                  .find(std::string("parentheses: ") + c.mend + "."),
              std::string::npos)
        << c.subject;
    EXPECT_NE(check::finding_text(f, Language::kJapanese)
                  .find(std::string(c.mend) + " のように"),
              std::string::npos)
        << c.subject;
  }
}

TEST(CheckMessages, LongOrOddSubjectsAreShortenedAndCleaned) {
  const Finding f{1, 1, Problem::kOperatorInName,
                  sjis("数") + std::string(100, 'a') + "!"};
  const std::string text = check::finding_text(f, Language::kEnglish);
  EXPECT_NE(text.find("'数" + std::string(39, 'a') + "...'"), std::string::npos)
      << text;
  const Finding odd{1, 1, Problem::kNotAVariable,
                    std::string("a\x1B[2J\x81", 6)};
  EXPECT_NE(
      check::finding_text(odd, Language::kEnglish).find("'a?[2J\xEF\xBF\xBD'"),
      std::string::npos);
}

TEST(CheckRender, PlaceTextLineAndCaret) {
  const std::string line = sjis("\t} else 見る(\"x\",数a);\n");
  const Finding f{3, 9, Problem::kKeywordAfterElse, sjis("見る")};
  EXPECT_EQ(
      check::render_finding("prog.zem", line, f, Language::kEnglish,
                            Encoding::kUtf8),
      "prog.zem:3:9: warning: " + check::finding_text(f, Language::kEnglish) +
          "\n\t} else 見る(\"x\",数a);\n\t       ^\n");
  // Double-byte characters take two columns, so the caret counts them twice.
  const Finding name{1, 6, Problem::kOperatorInName, sjis("数a!")};
  EXPECT_EQ(
      check::render_finding("p.zem", sjis("数a=数a!+1;"), name,
                            Language::kJapanese, Encoding::kUtf8),
      "p.zem:1:6: warning: " + check::finding_text(name, Language::kJapanese) +
          "\n数a=数a!+1;\n       ^\n");
}

TEST(CheckRender, AShiftJisTerminalGetsShiftJis) {
  const std::string line = sjis("\t見る \"x\";\r\n");
  const Finding f{2, 2, Problem::kKeywordSpaceRemoved, sjis("見る")};
  const std::string out = check::render_finding(
      "a.zem", line, f, Language::kJapanese, Encoding::kShiftJis);
  EXPECT_EQ(out, "a.zem:2:2: warning: " +
                     sjis(check::finding_text(f, Language::kJapanese)) + "\n" +
                     sjis("\t見る \"x\";") + "\n\t^\n");
}

TEST(CheckRender, ControlBytesKeepTheirColumn) {
  const Finding f{1, 4, Problem::kTextAfterSemicolon, ""};
  const std::string out =
      check::render_finding("a.zem", std::string("a\x1B\0b;", 5), f,
                            Language::kEnglish, Encoding::kUtf8);
  EXPECT_NE(out.find("\na??b;\n   ^\n"), std::string::npos) << out;
}

TEST(CheckRender, AVeryLongLineIsShownAroundTheColumn) {
  const std::string line =
      std::string(1000, 'x') + "!" + std::string(1000, 'y');
  const Finding f{1, 1001, Problem::kTextAfterSemicolon, ""};
  const std::string out = check::render_finding(
      "a.zem", line, f, Language::kEnglish, Encoding::kUtf8);
  const std::string expected_line =
      "..." + std::string(60, 'x') + "!" + std::string(59, 'y') + "...";
  EXPECT_NE(
      out.find("\n" + expected_line + "\n" + std::string(63, ' ') + "^\n"),
      std::string::npos)
      << out;
}

TEST(CheckRender, AllFindingsOfASourceWithTheirLines) {
  const std::string source = sjis("はじめ\r\n\t見る();\r\n\t数a!=1;\r\n");
  const std::vector<Finding> findings = check::check_source(source);
  ASSERT_EQ(findings.size(), 3u);
  const std::string out = check::render_findings(
      "p.zem", source, findings, Language::kEnglish, Encoding::kUtf8);
  EXPECT_EQ(out,
            check::render_finding("p.zem", sjis("\t見る();"), findings[0],
                                  Language::kEnglish, Encoding::kUtf8) +
                check::render_finding("p.zem", sjis("\t数a!=1;"), findings[1],
                                      Language::kEnglish, Encoding::kUtf8) +
                check::render_finding("p.zem", sjis("\t数a!=1;"), findings[2],
                                      Language::kEnglish, Encoding::kUtf8));
}

}  // namespace
}  // namespace zemuc::testing
