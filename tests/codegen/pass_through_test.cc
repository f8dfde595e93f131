// Lines without a statement keyword: renaming, string copies, line ends.
#include <gtest/gtest.h>

#include "support/codegen.h"

namespace zemuc::testing {
namespace {

// 数a nn1, 数b nn2, 字s cc3, 字t cc4.
const Lines kFourVariables = {"数a,数b,字s,字t\n"};

TEST(PassThrough, WritesTheLineWithCNames) {
  expect_generated(
      kFourVariables,
      {
          {"arithmetic", {"数a=数b+1;\n"}, "nn1=nn2+1;\n"},
          {"condition keeps its brace and line end",
           {"if(数a>3){\n"},
           "if(nn1>3){\n"},
          {"blanks go, tabs stay", {"\tif (数a == 1) {\n"}, "\tif(nn1==1){\n"},
          {"a name on both sides", {"\t\t数a=数a+1;\n"}, "\t\tnn1=nn1+1;\n"},
          {"braces and else", {"}else{\n"}, "}else{\n"},
          {"the blank after else survives", {"} else {\n"}, "}else {\n"},
          {"closing brace", {"}\n"}, "}\n"},
          {"empty line", {"\n"}, "\n"},
          {"line of blanks", {"    \n"}, "\n"},
          {"comment", {"/* note */\n"}, "/*note*/\n"},
          {"text after the first ';' is dropped",
           {"数a=1;数b=2;\n"},
           "nn1=1;\n"},
          {"numeric '==' is a comparison",
           {"if(数a==数b)\n"},
           "if(nn1==nn2)\n"},
          {"a name inside quotes is kept",
           {"printf(\"数aは%d\",数a);\n"},
           "printf(\"数aは%d\",nn1);\n"},
          {"a ';' inside quotes does not end the line",
           {"printf(\"a;b\");\n"},
           "printf(\"a;b\");\n"},
          {"a word that is no variable", {"値=1;\n"}, "値=1;\n"},
          {"a keyword joined by else's blank is no keyword",
           {"} else 見る(\"x\",数a);\n"},
           "}else 見る(\"x\",nn1);\n"},
          {"last line without a line end still ends the line", {"}"}, "}\n"},
      });
}

TEST(PassThrough, StringAssignmentBecomesStrcpy) {
  expect_generated(
      kFourVariables,
      {
          {"from a literal", {"字s=\"abc\";\n"}, "strcpy(cc3,\"abc\");\n"},
          {"from a string variable", {"字s=字t;\n"}, "strcpy(cc3,cc4);\n"},
          {"from a numeric variable, unchecked",
           {"字s=数a;\n"},
           "strcpy(cc3,nn1);\n"},
          {"blanks inside the literal are gone",
           {"字s=\"a b\";\n"},
           "strcpy(cc3,\"ab\");\n"},
          {"indented", {"\t字s=\"x\";\n"}, "\tstrcpy(cc3,\"x\");\n"},
          {"an empty source", {"字s=;\n"}, "strcpy(cc3,);\n"},
          {"a tab before '=' defeats the copy",
           {"字s\t=\t\"x\";\n"},
           "cc3\t=\t\"x\";\n"},
          {"'==' after a string variable is read as a copy",
           {"if(字s==字t){\n"},
           "if(strcpy(cc3,);cc4){\n"},
          // The source's line feed is consumed with it, so the next line's text
          // follows on the same output line.
          {"without ';' the copy has no line end",
           {"字s=字t\n", "}\n"},
           "strcpy(cc3,cc4);}\n"},
      });
}

TEST(PassThrough, CopyNamesFollowTheTableNotTheLine) {
  // 字t is declared first here, so it is cc3 and 字s cc4.
  CodegenRun run({"数a,数b,字t,字s\n"});
  EXPECT_TRUE(
      SameSjis(run.generate({"字s=字t;\n"}).text, "strcpy(cc4,cc3);\n"));
}

}  // namespace
}  // namespace zemuc::testing
