// Each finding on a source that shows it and on a near miss that must not,
// checked where it helps against the C text the translator really writes.
#include "check/check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/check_support.h"
#include "support/codegen.h"

namespace zemuc::testing {
namespace {

using check::Finding;
using check::Problem;
using Findings = std::vector<Finding>;

// A program frame around the lines, so that the frame finds nothing.
std::string framed(const std::string& body) {
  return "はじめ\n" + body + "おわり\n";
}

struct Case {
  const char* what;
  std::string body;   // UTF-8 lines between はじめ and おわり
  Findings expected;  // lines counted from the はじめ line, which is 1
};

void expect_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(check_utf8(framed(c.body)), c.expected) << c.body;
  }
}

TEST(CheckKeywords, AKeywordJoinedToTextIsNoStatement) {
  expect_cases({
      {"text right after the keyword",
       "\t見る\"x\";\n",
       {finding(2, 2, Problem::kKeywordGlued, "見る")}},
      {"a name right after it",
       "打つ数a;\n",
       {finding(2, 1, Problem::kKeywordGlued, "打つ")}},
      {"a blank before a quote",
       "\t見る \"x\";\n",
       {finding(2, 2, Problem::kKeywordSpaceRemoved, "見る")}},
      {"a blank before a name",
       "\t\t打つ 数a;\n",
       {finding(2, 3, Problem::kKeywordSpaceRemoved, "打つ")}},
      {"a blank before a file name",
       "開く(出力,\"o.txt\",w);\n閉じる 出力;\n",
       {finding(3, 1, Problem::kKeywordSpaceRemoved, "閉じる")}},
      {"else and a blank before it",
       "\tif(数a>0){\n\t} else 見る(\"x\",数a);\n",
       {finding(3, 9, Problem::kKeywordAfterElse, "見る")}},
      {"else right before it",
       "}else見る(\"x\");\n",
       {finding(2, 1, Problem::kStrayClosingBrace),
        finding(2, 6, Problem::kKeywordAfterElse, "見る")}},
      // Near misses.
      {"a blank before a delimiter is harmless",
       "\t見る (\"x\");\n\t打つ\t(数a);\n",
       {}},
      {"after a tab or a brace the keyword is found",
       "\tif(数a>0){見る(\"x\");\n\t}else{\n\t\t見る(\"y\");\n\t}\n",
       {finding(2, 5, Problem::kVariableBeforeKeyword, "数a")}},
      {"a keyword inside quotes is text", "\t見る(\"見る\");\n", {}},
      {"a longer word in a comment", "\t/* 見るだけ */\n", {}},
  });
}

TEST(CheckKeywords, TheTranslatorFindsNoStatementInAJoinedKeyword) {
  // What the findings above rest on: the line goes to the pass-through.
  const Generated g =
      translate_lines({"数a=1;\n", "見る \"x\";\n", "} else 見る(\"x\",数a);\n",
                       "\t見る (\"x\");\n"});
  EXPECT_TRUE(SameSjis(g.text,
                       "nn1=1;\n見る\"x\";\n}else 見る(\"x\",nn1);\n"
                       "\tprintf(\"%s\\n\", \"x\");\n"));
}

TEST(CheckKeywords, AFullWidthSpaceIsNoBlank) {
  expect_cases({
      {"indenting with full-width spaces hides the keyword",
       "　　見る(\"x\");\n",
       {finding(2, 1, Problem::kWideSpace, "　")}},
      {"and the name",
       "\t　数a=1;\n",
       {finding(2, 2, Problem::kWideSpace, "　")}},
      {"inside quotes it is kept and fine", "\t見る(\"a　b\");\n", {}},
      {"in a comment it is fine", "\t数a=1;\n\t// 　注\n", {}},
  });
}

TEST(CheckKeywords, OnlyTheFirstStatementOfALineIsTranslated) {
  expect_cases({
      {"a second keyword",
       "\t打つ(数a)見る(\"a\",数a)\n",
       {finding(2, 8, Problem::kSecondStatement, "見る")}},
      {"a loop body on the loop's line",
       "\tくり返し(3){見る(\"x\")}\n",
       {finding(2, 2, Problem::kUnclosedBrace),
        finding(2, 10, Problem::kSecondStatement, "見る")}},
      {"a keyword in a comment after the statement",
       "\t打つ(数a) // 見る\n",
       {}},
  });
}

TEST(CheckKeywords, AKeywordInACommentIsStillAStatement) {
  expect_cases({
      // The generator drops the rest of the line, the comment's end too.
      {"a block comment that was to end on the line",
       "\t/* 見る(\"x\") */\n",
       {finding(2, 5, Problem::kKeywordInComment, "見る")}},
      // Only the first printf follows the //.
      {"a line comment over two displays",
       "\t// 見る(\"a\",数a,\"b\",数b)\n",
       {finding(2, 5, Problem::kKeywordInComment, "見る")}},
      {"a line comment over one display", "\t// 見る(\"a\",数a)\n", {}},
      {"a comment over several lines", "/*\n\t見る(\"x\")\n*/\n", {}},
      // Nothing to show stops the translation, in a comment too.
      {"a bare keyword in a comment",
       "\t// 見る\n",
       {finding(2, 5, Problem::kDisplayNothing, "見る")}},
  });
}

TEST(CheckStatements, TokensBeforeAKeywordAreCopiedWithoutRenaming) {
  expect_cases({
      {"a condition before the keyword",
       "\tif(数a>0)見る(\"x\");\n",
       {finding(2, 5, Problem::kVariableBeforeKeyword, "数a")}},
      {"tabs, a brace and else are fine",
       "\tif(数a>0){\n\t}else\t見る(\"x\",数a);\n",
       {}},
      {"a variable in a comment before it",
       "\t/* 数a */ 見る(\"x\",数a);\n",
       {}},
  });
  // The C keeps the source name.
  const Generated g = translate_lines({"数a=1;\n", "if(数a>0)見る(\"x\");\n"});
  EXPECT_TRUE(SameSjis(g.text, "nn1=1;\nif(数a>0)printf(\"%s\\n\", \"x\");\n"));
}

TEST(CheckStatements, TextBeforeAReadingBlockIsRepeated) {
  expect_cases({
      {"a brace before an open for reading",
       "\tif(数a>0){\n\t}else{開く(入力,\"in.txt\",r);\n\t}\n",
       {finding(3, 2, Problem::kTextBeforeRepeated, "開く")}},
      {"a brace before a read",
       "\t開く(入力,\"in.txt\",r);\n\tif(1>0){読む(入力,数b);\n\t}\n",
       {finding(3, 2, Problem::kTextBeforeRepeated, "読む")}},
      {"tabs are only indentation",
       "\t\t開く(入力,\"in.txt\",r);\n\t\t読む(入力,数b);\n",
       {}},
      {"a brace before an open for writing is written once",
       "\tif(1>0){開く(出力,\"o.txt\",w);\n\t}\n",
       {}},
  });
  CodegenRun run({"開く(入力,\"in.txt\",r);\n"});
  EXPECT_TRUE(SameSjis(run.generate({"}else{読む(入力,数b);\n"}).text,
                       "}else{if( fgets(dummy, 80, fp1) == NULL) {\n"
                       "}else{\tprintf(\"データ読みすぎ．\");\n"
                       "}else{\tgoto ERROR_END;\n}else{}\n}else{"));
}

TEST(CheckStatements, ADisplayNeedsALabelBeforeEachVariable) {
  expect_cases({
      {"a variable first",
       "\t見る(数a);\n",
       {finding(2, 5, Problem::kDisplayNoLabel, "数a")}},
      {"two variables in a row",
       "\t見る(\"a\",数a,数b);\n",
       {finding(2, 12, Problem::kDisplayNoLabel, "数b")}},
      {"an empty label",
       "\t見る(\"a\",\t数a);\n",
       {finding(2, 10, Problem::kDisplayNoLabel, "数a")}},
      {"labels before every variable", "\t見る(\"a\",数a,\"b\",字s);\n", {}},
      {"a text alone", "\t見る(\"こんにちは\");\n\t見る(\"\");\n", {}},
  });
  const Generated g = translate_lines({"見る(数a);\n"});
  EXPECT_TRUE(SameSjis(g.text, "printf(\"%s[%d]\\n\", 見る, nn1);\n"));
}

TEST(CheckStatements, ADisplayWithNothingToShowStopsTheTranslation) {
  expect_cases({
      {"empty parentheses",
       "\t見る();\n",
       {finding(2, 5, Problem::kDisplayNothing, "見る")}},
      {"a bare keyword",
       "見る;\n",
       {finding(2, 1, Problem::kDisplayNothing, "見る")}},
      {"an empty text is something", "\t見る(\"\");\n", {}},
  });
  EXPECT_EQ(translate_lines({"見る();\n"}).status, 8);
  EXPECT_EQ(translate_lines({"見る;\n"}).status, 8);
}

TEST(CheckStatements, InputAndFileStatementsNameVariablesAndOpenedFiles) {
  const std::string opened =
      "\t開く(出力,\"o.txt\",w);\n\t開く(入力,\"i.txt\",r);\n";
  expect_cases({
      {"input of a text",
       "\t打つ(\"x\",数a);\n",
       {finding(2, 5, Problem::kNotAVariable, "\"x\"")}},
      {"input of nothing",
       "\t打つ();\n",
       {finding(2, 2, Problem::kNoVariable, "打つ")}},
      {"input of variables", "\t打つ(数a,字s);\n", {}},
      {"close of a file never opened",
       opened + "\t閉じる(出力2);\n",
       {finding(4, 6, Problem::kFileNotOpened, "出力2")}},
      {"write to a file never opened",
       opened + "\t書く(入口,数a);\n",
       {finding(4, 5, Problem::kFileNotOpened, "入口")}},
      {"write of no variable",
       opened + "\t書く(出力,値);\n",
       {finding(4, 8, Problem::kNotAVariable, "値")}},
      {"write of nothing",
       opened + "\t書く(出力);\n",
       {finding(4, 8, Problem::kNoVariable, "書く")}},
      {"read from a file never opened",
       opened + "\t読む(入口,数a);\n",
       {finding(4, 5, Problem::kReadFileNotOpened, "入口")}},
      {"read all from a file never opened",
       opened + "\t読みきり(入口,字s){\n\t}\n",
       {finding(4, 7, Problem::kReadFileNotOpened, "入口")}},
      {"read into no variable",
       opened + "\t読む(入力,値);\n",
       {finding(4, 8, Problem::kNotAVariable, "値")}},
      {"all known",
       opened +
           "\t書く(出力,数a);\n\t読む(入力,字s);\n"
           "\t読みきり(入力,数b){\n\t}\n\t閉じる(出力);\n\t閉じる(入力);\n",
       {}},
      // The tables are filled before any line is generated.
      {"a file opened on a later line",
       "\t閉じる(出力);\n\t開く(出力,\"o.txt\",w);\n",
       {}},
  });
}

TEST(CheckText, TheLineEndsAtItsFirstSemicolon) {
  expect_cases({
      {"a second statement",
       "\t数a=1; 数b=2;\n",
       {finding(2, 8, Problem::kTextAfterSemicolon)}},
      {"a for loop in C",
       "\tfor(数i=0;数i<3;数i++){\n\t}\n",
       {finding(2, 11, Problem::kTextAfterSemicolon),
        finding(3, 2, Problem::kStrayClosingBrace)}},
      {"a comment opened after it",
       "\t数a=1; /* 長い\n\t説明 */\n",
       {finding(2, 8, Problem::kTextAfterSemicolon)}},
      {"blanks, semicolons and comments after it",
       "\t数a=1; \t;\n\t数b=2; // 注\n\t数c=3; /* 注 */ \n",
       {}},
      {"a semicolon inside quotes", "\t見る(\"a;b\");\n", {}},
  });
  const Generated g = translate_lines({"数a=1; 数b=2;\n"});
  EXPECT_TRUE(SameSjis(g.text, "nn1=1;\n"));
}

TEST(CheckText, ASemicolonInACommentCutsIt) {
  expect_cases({
      {"the end of the comment is lost",
       "\t/* a; b */\n\t数a=1;\n",
       {finding(2, 6, Problem::kCommentCutBySemicolon)}},
      {"in a comment over several lines",
       "\t/* a\n\tb; c */\n\t数a=1;\n",
       {finding(3, 3, Problem::kCommentCutBySemicolon)}},
      {"a line comment loses nothing", "\t// a; b\n\t数a=1;\n", {}},
      {"a comment going on anyway", "\t/* a; b\n\tc */\n", {}},
  });
  // What the comment then swallows.
  const Generated g = translate_lines({"/* a; b */\n", "数a=1;\n"});
  EXPECT_TRUE(SameSjis(g.text, "/*a;\nnn1=1;\n"));
}

TEST(CheckText, SpacesInsideQuotesAreRemoved) {
  expect_cases({
      {"a text with a space",
       "\t見る(\"a b\");\n",
       {finding(2, 7, Problem::kSpacesInQuotes, "\"ab\"")}},
      {"a C format",
       "\tprintf(\"%d %d\\n\",数a,数b);\n",
       {finding(2, 12, Problem::kSpacesInQuotes, "\"%d%d\\n\"")}},
      {"a path",
       "\t開く(出力,\"my file.txt\",w);\n",
       {finding(2, 11, Problem::kSpacesInQuotes, "\"myfile.txt\"")}},
      {"spaces outside quotes are fine", "\t見る( \"ab\" , 数a );\n", {}},
      {"the full-width space is kept", "\t見る(\"a　b\");\n", {}},
      {"the space after else is kept", "\t見る(\"else x\");\n", {}},
      {"quotes in a comment", "\t// \"a b\"\n", {}},
  });
}

TEST(CheckText, ABraceAsSecondByteCutsAName) {
  expect_cases({
      {"マ in a name",
       "\t数マス=1;\n",
       {finding(2, 3, Problem::kNameCut, "マ")}},
      {"倍 in a name",
       "\t数二倍=2;\n\t見る(\"x\",数二倍);\n",
       {finding(2, 4, Problem::kNameCut, "倍"),
        finding(3, 11, Problem::kNameCut, "倍")}},
      {"ボ in a file name",
       "\t開く(ボール,\"b.txt\",w);\n",
       // The cut moves the operands: the path is taken as the mode.
       {finding(2, 5, Problem::kNameCut, "ボ"),
        finding(2, 9, Problem::kOpenModeOther, "\"b.txt\"")}},
      {"inside quotes it is safe", "\t見る(\"マ本図\");\n", {}},
      {"in a comment it is safe", "\t/* 本 */\n", {}},
  });
}

TEST(CheckText, PunctuationInANameIsNoOperator) {
  expect_cases({
      {"not equal",
       "\tif(数a!=0){\n\t}\n",
       {finding(2, 7, Problem::kOperatorInName, "数a!")}},
      {"remainder",
       "\t数c=数a%数b;\n",
       {finding(2, 7, Problem::kOperatorInName, "数a%数b")}},
      {"and",
       "\tif(数a&&数b){\n\t}\n",
       {finding(2, 7, Problem::kOperatorInName, "数a&&数b")}},
      {"named once",
       "\t数b=数a!;\n\t数c=数a!;\n",
       {finding(2, 7, Problem::kOperatorInName, "数a!")}},
      {"a name after a sign is no name",
       "\tif(!数a){\n\t}\n\t数b=0&&数a;\n",
       {finding(2, 6, Problem::kNameAfterSign, "!数a"),
        finding(4, 8, Problem::kNameAfterSign, "0&&数a")}},
      {"characters with punctuation as second byte",
       "\t数点=1;\n\t数余=数ー+数ポ+数円+数表;\n\t見る(\"表\",数点);\n",
       {}},
      {"a sign inside quotes", "\tprintf(\"!数\");\n", {}},
      {"one variable", "\t数a=1;\n\t数a=数a+1;\n", {}},
      {"parentheses around it", "\tif((数a)!=0){\n\t}\n", {}},
  });
  // A new variable, and C that builds and does something else.
  const Generated g =
      translate_lines({"数a=1;\n", "数b=0;\n", "if(数b!=0){\n", "if(!数a){\n"});
  EXPECT_TRUE(SameSjis(g.text, "nn1=1;\nnn2=0;\nif(nn3=0){\nif(!数a){\n"));
}

TEST(CheckStatements, ARepeatBoundIsOneToken) {
  expect_cases({
      {"an expression",
       "\tくり返し(数n+1){\n\t}\n",
       {finding(2, 7, Problem::kRepeatBoundExpression, "数n")}},
      {"a range",
       "\tくり返し(1,10){\n\t}\n",
       {finding(2, 7, Problem::kRepeatBoundExpression, "1")}},
      {"empty",
       "\tくり返し(){\n\t}\n",
       {finding(2, 7, Problem::kRepeatBoundMissing, "くり返し")}},
      {"a sign first",
       "\tくり返し(-3){\n\t}\n",
       {finding(2, 7, Problem::kRepeatBoundMissing, "くり返し")}},
      {"a number or a variable",
       "\tくり返し(10){\n\t}\n\tくり返し(数n){\n\t}\n\tくり返し(10)\n\t}\n",
       {}},
  });
  const Generated g = translate_lines({"はじめ\n", "くり返し(数n+1){\n"});
  EXPECT_NE(g.text.find("for(rep1 = 1 ; rep1 <= nn1 ; rep1++) {\n"),
            std::string::npos);
}

TEST(CheckStatements, OpeningAFile) {
  expect_cases({
      {"a quoted r opens for writing",
       "\t開く(入力,\"in.txt\",\"r\");\n",
       {finding(2, 17, Problem::kOpenModeOther, "\"r\"")}},
      {"a capital R too",
       "\t開く(入力,\"in.txt\",R);\n",
       {finding(2, 17, Problem::kOpenModeOther, "R")}},
      {"no mode",
       "\t開く(出力,\"o.txt\");\n",
       {finding(2, 16, Problem::kOpenModeMissing, "開く")}},
      {"modes meant for writing write",
       "\t開く(a,\"a.txt\",W);\n\t開く(b,\"b.txt\",\"w\");\n",
       {}},
      {"opened twice with another mode",
       "\t開く(記録,\"a.txt\",w);\n\t閉じる(記録);\n\t開く(記録,\"a.txt\",r);"
       "\n",
       {finding(4, 5, Problem::kFileOpenedTwice, "記録")}},
      {"opened twice with another path",
       "\t開く(記録,\"a.txt\",w);\n\t開く(記録,\"b.txt\",w);\n",
       {finding(3, 5, Problem::kFileOpenedTwice, "記録")}},
      {"opened again the same way",
       "\t開く(記録,\"a.txt\",r);\n\t閉じる(記録);\n\t開く(記録,\"a.txt\",r);"
       "\n",
       {}},
      {"a path variable first mentioned on the line",
       "\t開く(出力,字p,w);\n\t字p=\"o.txt\";\n",
       {finding(2, 8, Problem::kOpenPathNotYetSet, "字p")}},
      {"a path variable set before",
       "\t字p=\"o.txt\";\n\t開く(出力,字p,w);\n",
       {}},
  });
  CodegenRun run({"開く(記録,\"a.txt\",w);\n", "開く(記録,\"a.txt\",r);\n"});
  EXPECT_TRUE(SameSjis(run.generate({"開く(記録,\"a.txt\",r);\n"}).text,
                       "fp1 = fopen(\"a.txt\",\"w\");\n"));
  CodegenRun later({"開く(出力,字p,w);\n"});
  EXPECT_TRUE(SameSjis(later.generate({"開く(出力,字p,w);\n"}).text,
                       "fp1 = fopen(字p,\"w\");\n"));
}

TEST(CheckText, StringVariablesCopyOnlyRightBeforeAnEqualsSign) {
  expect_cases({
      {"a comparison",
       "\tif(字s==字t){\n\t}\n",
       {finding(2, 5, Problem::kStringCompare, "字s")}},
      {"tabs around the sign",
       "\t字s\t=\t\"x\";\n",
       {finding(2, 2, Problem::kStringCopyTab, "字s")}},
      {"a tab after the sign",
       "\t字s=\t\"x\";\n",
       {finding(2, 2, Problem::kStringCopyTab, "字s")}},
      {"spaces around the sign are fine", "\t字s = \"x\";\n\t字t = 字s;\n", {}},
      {"a numeric variable is fine",
       "\tif(数a==数b){\n\t}\n\t数a\t=\t1;\n",
       {}},
      {"strcmp compares", "\tif(strcmp(字s,字t)==0){\n\t}\n", {}},
  });
  const Generated g = translate_lines(
      {"字s=\"a\";\n", "字t=\"a\";\n", "if(字s==字t){\n", "字s\t=\t\"x\";\n"});
  EXPECT_TRUE(SameSjis(g.text,
                       "strcpy(cc1,\"a\");\nstrcpy(cc2,\"a\");\n"
                       "if(strcpy(cc1,);cc2){\ncc1\t=\t\"x\";\n"));
}

TEST(CheckStructure, BracesBalanceByTheEndOfTheProgram) {
  expect_cases({
      {"a loop without its closing brace",
       "\tくり返し(3){\n\t\t見る(\"x\");\n",
       {finding(2, 2, Problem::kUnclosedBrace)}},
      {"a read-all loop without it",
       "\t開く(入力,\"i.txt\",r);\n\t読みきり(入力,字s){\n",
       {finding(3, 2, Problem::kUnclosedBrace)}},
      {"a block of the writer's",
       "\tif(1){\n",
       {finding(2, 7, Problem::kUnclosedBrace)}},
      {"a closing brace too many",
       "\t}\n",
       {finding(2, 2, Problem::kStrayClosingBrace)}},
      // The loop writes its own brace: one on the next line opens another.
      {"a brace on the line after a loop",
       "\tくり返し(3)\n\t{\n\t}\n",
       {finding(2, 2, Problem::kUnclosedBrace)}},
      {"braces in quotes, comments and names",
       "\t見る(\"{\");\n\t/* } */\n\t数マ=1;\n",
       {finding(4, 3, Problem::kNameCut, "マ")}},
      {"nested loops closed",
       "\tくり返し(3){\n\t\tくり返し(2){\n\t\t}\n\t}\n",
       {}},
  });
}

TEST(CheckStructure, TheProgramFrame) {
  const std::vector<std::pair<std::string, Findings>> cases = {
      {"数a=1;\n", {finding(1, 1, Problem::kBeginMissing, "はじめ")}},
      {"はじめ\n数a=1;\n", {finding(2, 1, Problem::kEndMissing, "おわり")}},
      // On the last line with text, where the editor shows it too.
      {"はじめ\n数a=1;\n\n \n",
       {finding(2, 1, Problem::kEndMissing, "おわり")}},
      {"はじめ\nはじめ\nおわり\n",
       {finding(2, 1, Problem::kBeginRepeated, "はじめ")}},
      {"はじめ\nおわり\nおわり\n",
       {finding(3, 1, Problem::kEndRepeated, "おわり")}},
      {"おわり\nはじめ\nおわり\n",
       {finding(1, 1, Problem::kEndBeforeBegin, "おわり")}},
      {"数a=1;\n数b=2;\nはじめ\nおわり\n",
       {finding(1, 1, Problem::kCodeBeforeBegin)}},
      {"はじめ\nおわり\n\t数a=1;\n", {finding(3, 2, Problem::kCodeAfterEnd)}},
      {"くり返し(2){\n}\nはじめ\nおわり\n",
       {finding(1, 1, Problem::kRepeatBeforeBegin, "くり返し")}},
      {"はじめ\n\tくり返し(2){\nおわり\n\t}\n",
       {finding(2, 2, Problem::kUnclosedBrace),
        finding(4, 2, Problem::kCodeAfterEnd),
        finding(4, 2, Problem::kStrayClosingBrace)}},
      // An empty program builds no more than one without はじめ.
      {"", {finding(1, 1, Problem::kBeginMissing, "はじめ")}},
      {"\n\n", {finding(1, 1, Problem::kBeginMissing, "はじめ")}},
      // Near misses.
      {"/* 題 */\n#include <ctype.h>\n\nはじめ\nおわり\n\n", {}},
      {"\tはじめ\n\tおわり\n", {}},
  };
  for (const auto& [source, expected] : cases) {
    EXPECT_EQ(check_utf8(source), expected) << source;
  }
}

// What the translator writes for the lines of the findings above that
// were not shown with their C text there.
TEST(CheckEvidence, TheTranslatorDoesWhatTheFindingsSay) {
  struct Evidence {
    const char* what;
    Lines lines;
    const char* written;
  };
  const Evidence cases[] = {
      {"spaces in quotes",
       {"見る(\"a b\");\n"},
       "printf(\"%s\\n\", \"ab\");\n"},
      {"a name cut by マ", {"数マス=1;\n"}, "nn1}ス=1;\n"},
      {"a keyword in a block comment",
       {"/* 見る(\"x\") */\n"},
       "/*printf(\"%s\\n\", \"x\");\n"},
      // The input takes every variable to the end of the line, those of
      // the dropped display too.
      {"a second statement",
       {"打つ(数a)見る(\"x\",数a)\n"},
       "scanf(\"%d\", &nn1);\nscanf(\"%d\", &nn1);\n"},
      {"a close of a file never opened", {"閉じる(不明);\n"}, ""},
      {"a read from a file never opened",
       {"読む(不明,数a);\n"},
       "\tprintf(\"データ読みすぎ．\");\n\tgoto ERROR_END;\n}\nnn1 = "
       "atoi(dummy);\n"},
      {"a write of no variable",
       {"開く(出力,\"o.txt\",w);\n", "書く(出力,値);\n"},
       "fp1 = fopen(\"o.txt\",\"w\");\n"},
      {"a loop's own brace",
       {"くり返し(3){見る(\"x\")}\n"},
       "for(rep1 = 1 ; rep1 <= 3 ; rep1++) {\n"},
  };
  for (const Evidence& c : cases) {
    SCOPED_TRACE(c.what);
    CodegenRun run(c.lines);
    run.generate({"はじめ\n"});  // the counters are handed out from here
    const Generated g = run.generate(c.lines);
    EXPECT_EQ(g.status, 0);
    EXPECT_TRUE(SameSjis(g.text, c.written));
  }
}

}  // namespace
}  // namespace zemuc::testing
