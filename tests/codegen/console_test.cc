// Display and keyboard input: labels, the single text, the rejected line.
#include <gtest/gtest.h>

#include "support/codegen.h"

namespace zemuc::testing {
namespace {

// 数a nn1, 数b nn2, 字s cc3, 字t cc4.
const Lines kFourVariables = {"数a,数b,字s,字t\n"};

struct Case {
  const char* what;
  Lines lines;
  int status;
  const char* expected;
};

TEST(Console, DisplayAndInput) {
  const Case cases[] = {
      {"numeric variable with its label",
       {"見る(\"答え\",数a);\n"},
       0,
       "printf(\"%s[%d]\\n\", \"答え\", nn1);\n"},
      // The echo stands before the first statement only.
      {"one statement per variable, in line order",
       {"\t見る(\"合計\",数a,\"名前\",字s);\n"},
       0,
       "\tprintf(\"%s[%d]\\n\", \"合計\", nn1);\n"
       "printf(\"%s[%s]\\n\", \"名前\", cc3);\n"},
      {"single text",
       {"見る(\"こんにちは\");\n"},
       0,
       "printf(\"%s\\n\", \"こんにちは\");\n"},
      {"no variable: the token after the keyword only",
       {"見る(\"値\",123);\n"},
       0,
       "printf(\"%s\\n\", \"値\");\n"},
      {"a word that is no variable is shown as it stands",
       {"見る(値)\n"},
       0,
       "printf(\"%s\\n\", 値);\n"},
      {"an empty literal is a text",
       {"見る(\"\");\n"},
       0,
       "printf(\"%s\\n\", \"\");\n"},
      {"a variable right after the keyword is labelled by the keyword",
       {"見る(数a,数b);\n"},
       0,
       "printf(\"%s[%d]\\n\", 見る, nn1);\n"
       "printf(\"%s[%d]\\n\", 数a, nn2);\n"},
      {"keyword after else and a tab",
       {"\t}else\t見る(\"x\",数a);\n"},
       0,
       "\t}else\tprintf(\"%s[%d]\\n\", \"x\", nn1);\n"},
      {"a keyword joined to its text by blanks is no keyword",
       {"見る \"x\";\n"},
       0,
       "見る\"x\";\n"},
      {"empty parentheses are rejected after the echo",
       {"\t見る();\n"},
       8,
       "\t"},
      {"a bare keyword is rejected", {"見る;\n"}, 8, ""},
      {"a bare keyword without ';' is rejected", {"見る\n"}, 8, ""},
      {"nothing after a rejected line is generated",
       {"数a=1;\n", "\t見る();\n", "数b=2;\n"},
       8,
       "nn1=1;\n\t"},
      {"input of a numeric variable",
       {"打つ(数a);\n"},
       0,
       "scanf(\"%d\", &nn1);\n"},
      {"input of both kinds, with the address operator",
       {"\t打つ(数a,字s);\n"},
       0,
       "\tscanf(\"%d\", &nn1);\nscanf(\"%s\", &cc3);\n"},
      {"a variable named twice is read twice",
       {"打つ(数b,数b)\n"},
       0,
       "scanf(\"%d\", &nn2);\nscanf(\"%d\", &nn2);\n"},
      {"input of no variable writes nothing", {"打つ(\"x\");\n"}, 0, ""},
      {"a bare input keyword writes nothing", {"打つ\n"}, 0, ""},
      {"input of no variable leaves the echo open",
       {"\t打つ(\"x\");\n", "数a=1;\n"},
       0,
       "\tnn1=1;\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CodegenRun run(kFourVariables);
    const Generated g = run.generate(c.lines);
    EXPECT_EQ(g.status, c.status);
    EXPECT_TRUE(SameSjis(g.text, c.expected));
  }
}

}  // namespace
}  // namespace zemuc::testing
