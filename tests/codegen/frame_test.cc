// The program head and tail, and the counter handout that the head resets.
#include <gtest/gtest.h>

#include <string>

#include "support/codegen.h"
#include "support/expected.h"

namespace zemuc::testing {
namespace {

struct Case {
  const char* what;
  Lines source;
  std::string expected;
};

TEST(Frame, WholePrograms) {
  const Case cases[] = {
      {"empty tables give the seven fixed lines", {"はじめ\n"}, kProgramHead},
      {"other tokens of the keyword lines are dropped",
       {"\tはじめ(x);\n", "おわり;\n"},
       kProgramHead + kProgramTail},
      {"variables keep their order and kinds, strings get 256 bytes",
       {"はじめ\n", "打つ(数a);\n", "数b=数a*2;\n", "字s=\"ok\";\n",
        "見る(\"倍\",数b);\n", "見る(\"結果\",字s);\n", "おわり\n"},
       kProgramHead +
           "\tint nn1;\n"
           "\tint nn2;\n"
           "\tchar cc3[256];\n"
           "scanf(\"%d\", &nn1);\n"
           "nn2=nn1*2;\n"
           "strcpy(cc3,\"ok\");\n"
           "printf(\"%s[%d]\\n\", \"倍\", nn2);\n"
           "printf(\"%s[%s]\\n\", \"結果\", cc3);\n" +
           kProgramTail},
      // The source mentions a counter, a file and the variables in the
      // opposite order to the one the head declares them in.
      {"variables, then files, then counters",
       {"はじめ\n", "くり返し(2){\n", "開く(出力,\"o.txt\",w);\n", "}\n",
        "くり返し(3){\n", "字s=\"x\";\n", "}\n", "数n=1;\n",
        "開く(入力,\"i.txt\",r);\n"},
       kProgramHead + "\tchar cc1[256];\n"
                      "\tint nn2;\n"
                      "\tFILE *fp1;\n"
                      "\tFILE *fp2;\n"
                      "\tint rep1;\n"
                      "\tint rep2;\n"
                      "for(rep1 = 1 ; rep1 <= 2 ; rep1++) {\n"
                      "fp1 = fopen(\"o.txt\",\"w\");\n"
                      "}\n"
                      "for(rep2 = 1 ; rep2 <= 3 ; rep2++) {\n"
                      "strcpy(cc1,\"x\");\n"
                      "}\n"
                      "nn2=1;\n"
                      "if((fp2 = fopen(\"i.txt\",\"r\")) == NULL){\n"
                      "\tprintf(\"ファイル%sがないよ．\", \"i.txt\");\n"
                      "\tgoto ERROR_END;\n"
                      "}\n"},
      {"lines outside the frame stay where they stand",
       {"数a=1;\n", "はじめ\n", "おわり\n", "数a=2;\n"},
       "nn1=1;\n" + kProgramHead + "\tint nn1;\n" + kProgramTail + "nn1=2;\n"},
      // The first loop takes the entry after the two declared counters; it
      // has no name, and the head then declares it nameless too.
      {"a repeat before the head",
       {"くり返し(10){\n", "}\n", "はじめ\n", "くり返し(3){\n", "}\n"},
       "for( = 1 ;  <= 10 ; ++) {\n"
       "}\n" +
           kProgramHead +
           "\tint rep1;\n"
           "\tint rep2;\n"
           "\tint ;\n"
           "for(rep1 = 1 ; rep1 <= 3 ; rep1++) {\n"
           "}\n"},
      {"a second head hands the counters out again",
       {"はじめ\n", "くり返し(1){\n", "}\n", "はじめ\n", "くり返し(2){\n",
        "}\n"},
       kProgramHead +
           "\tint rep1;\n"
           "\tint rep2;\n"
           "for(rep1 = 1 ; rep1 <= 1 ; rep1++) {\n"
           "}\n" +
           // The head declares the counters handed out so far: one.
           kProgramHead +
           "\tint rep1;\n"
           "for(rep1 = 1 ; rep1 <= 2 ; rep1++) {\n"
           "}\n"},
      {"the tail alone", {"おわり\n"}, kProgramTail},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Generated g = translate_lines(c.source);
    EXPECT_EQ(g.status, 0);
    EXPECT_TRUE(SameSjis(g.text, c.expected));
  }
}

TEST(Frame, HeadResetsTheCounterCountEvenWithoutLoops) {
  for (const Lines& source :
       {Lines{"はじめ\n"}, Lines{"はじめ\n", "くり返し(2){\n", "}\n"}}) {
    CodegenRun run(source);
    run.generate({"はじめ\n"});
    EXPECT_EQ(run.context().tables.counters.count, 0u);
  }
}

}  // namespace
}  // namespace zemuc::testing
