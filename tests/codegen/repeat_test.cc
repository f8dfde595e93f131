// The counted loop head and the order in which loops take their counters.
#include <gtest/gtest.h>

#include "support/codegen.h"

namespace zemuc::testing {
namespace {

struct Case {
  const char* what;
  Lines lines;
  const char* expected;
};

// Each case is a program of its own: 数件数 (nn1) and 字列 (cc2) declared,
// then the case's lines, generated after the head has reset the count.
TEST(Repeat, LoopHeads) {
  const Case cases[] = {
      {"number bound, echo of the indent",
       {"\tくり返し(10){\n"},
       "\tfor(rep1 = 1 ; rep1 <= 10 ; rep1++) {\n"},
      {"numeric variable bound",
       {"\tくり返し(数件数){\n"},
       "\tfor(rep1 = 1 ; rep1 <= nn1 ; rep1++) {\n"},
      {"string variable bound is renamed the same",
       {"くり返し(字列){\n"},
       "for(rep1 = 1 ; rep1 <= cc2 ; rep1++) {\n"},
      {"an expression keeps its first token",
       {"くり返し(数件数+1){\n"},
       "for(rep1 = 1 ; rep1 <= nn1 ; rep1++) {\n"},
      {"the brace is not needed",
       {"\tくり返し(10)\n"},
       "\tfor(rep1 = 1 ; rep1 <= 10 ; rep1++) {\n"},
      {"a missing bound is empty",
       {"くり返し\n"},
       "for(rep1 = 1 ; rep1 <=  ; rep1++) {\n"},
      {"nested, then sequential",
       {"\tくり返し(3){\n", "\t\tくり返し(数件数){\n", "\t\t}\n", "\t}\n",
        "\tくり返し(2){\n", "\t}\n"},
       "\tfor(rep1 = 1 ; rep1 <= 3 ; rep1++) {\n"
       "\t\tfor(rep2 = 1 ; rep2 <= nn1 ; rep2++) {\n"
       "\t\t}\n"
       "\t}\n"
       "\tfor(rep3 = 1 ; rep3 <= 2 ; rep3++) {\n"
       "\t}\n"},
      // The declaration pass counts both keywords of the first line; the
      // generation pass dispatches one, so the next loop takes rep2.
      {"a second keyword on a line shifts the numbering down",
       {"くり返し(2){くり返し(3){\n", "}}\n", "くり返し(4){\n", "}\n"},
       "for(rep1 = 1 ; rep1 <= 2 ; rep1++) {\n"
       "}}\n"
       "for(rep2 = 1 ; rep2 <= 4 ; rep2++) {\n"
       "}\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Lines declared = {"数件数,字列\n"};
    declared.insert(declared.end(), c.lines.begin(), c.lines.end());
    CodegenRun run(declared);
    run.generate({"はじめ\n"});
    const Generated g = run.generate(c.lines);
    EXPECT_EQ(g.status, 0);
    EXPECT_TRUE(SameSjis(g.text, c.expected));
  }
}

TEST(Repeat, BeforeTheHeadTakesAnUnnamedCounter) {
  CodegenRun run({"くり返し(10){\n"});
  EXPECT_TRUE(SameSjis(run.generate({"くり返し(10){\n"}).text,
                       "for( = 1 ;  <= 10 ; ++) {\n"));
  EXPECT_EQ(run.context().tables.counters.count, 2u);
}

}  // namespace
}  // namespace zemuc::testing
