// Sources no one would write on purpose: stray bytes, huge lines, huge
// tables, deep nesting. The translator must finish each with its true
// status and a complete output.
#include <gtest/gtest.h>

#include <string>

#include "faults/expect.h"

namespace zemuc::testing {
namespace {

struct Translation {
  RunResult run;
  std::string output;
};

Translation translate_source(const std::string& source) {
  ScratchDir dir;
  dir.write("a.zem", source);
  Translation t;
  t.run = run_translator({"a.zem"}, dir.path());
  t.output = dir.read("a.c");
  return t;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Stray bytes are carried through like any other byte, and the lines after
// them are translated as usual.
TEST(HostileSources, StrayBytesAreCarriedThrough) {
  struct Case {
    const char* label;
    std::string source;
    std::string expected;  // a piece of the output
  };
  const std::string display = sjis("見る(\"x\",数a);\n");
  const std::string display_c = "\tprintf(\"%s[%d]\\n\", \"x\", nn1);\n";
  const Case cases[] = {
      {"NUL bytes in a line",
       sjis("\t数a=1") + std::string("\0\0", 2) + "2;\n\t" + display,
       "\tnn1=1" + std::string("\0\0", 2) + "2;\n" + display_c},
      {"a line of NUL bytes",
       sjis("数a=1;\n") + std::string(300, '\0') + "\n\t" + display,
       std::string(300, '\0') + "\n" + display_c},
      {"0xFF bytes in a name and a value",
       sjis("数a=1;\n数") + "\xFF\xFF=\xFF;\n\t" + display,
       "nn2=\xFF;\n" + display_c},
      {"0xFF as a whole source", std::string(1000, '\xFF'),
       std::string(1000, '\xFF') + "\n"},
      {"NUL as a whole source", std::string(1000, '\0'),
       std::string(1000, '\0') + "\n"},
      {"a lone carriage return and a Ctrl-Z",
       sjis("数a=\r1\x1A;\n\t") + display, "nn1=\r1\x1A;\n" + display_c},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const Translation t = translate_source(c.source);
    expect_success(t.run);
    EXPECT_TRUE(contains(t.output, c.expected)) << utf8(t.output);
  }
}

TEST(HostileSources, TenMegabyteLine) {
  const std::string text(10 * 1024 * 1024, 'x');
  const Translation t =
      translate_source(sjis("はじめ\n\t字s=\"") + text + "\";\n" +
                       sjis("\t見る(\"s\",字s);\nおわり\n"));
  expect_success(t.run);
  EXPECT_GT(t.output.size(), text.size());
  EXPECT_TRUE(contains(t.output, "\tprintf(\"%s[%s]\\n\", \"s\", cc1);\n"));
  EXPECT_TRUE(contains(t.output, "\treturn 0;\n}\n"));
}

TEST(HostileSources, HundredThousandVariables) {
  std::string source = sjis("はじめ\n");
  for (int i = 1; i <= 100'000; ++i) {
    source +=
        sjis("\t数v") + std::to_string(i) + "=" + std::to_string(i) + ";\n";
  }
  const Translation t = translate_source(source + sjis("おわり\n"));
  expect_success(t.run);
  EXPECT_TRUE(
      contains(t.run.out, sjis("name=数v100000  var=nn100000  prop=N\n")));
  EXPECT_TRUE(contains(t.output, "\tint nn100000;\n"));
  EXPECT_TRUE(contains(t.output, "\tnn99999=99999;\n\tnn100000=100000;\n"));
}

TEST(HostileSources, TenThousandNestedLoops) {
  constexpr int kDepth = 10'000;
  std::string source = sjis("はじめ\n");
  for (int i = 0; i < kDepth; ++i) source += sjis("くり返し(2){\n");
  source += sjis("見る(\"in\");\n");
  for (int i = 0; i < kDepth; ++i) source += "}\n";
  const Translation t = translate_source(source + sjis("おわり\n"));
  expect_success(t.run);
  EXPECT_TRUE(contains(t.output, "\tint rep10000;\n"));
  EXPECT_TRUE(
      contains(t.output, "for(rep10000 = 1 ; rep10000 <= 2 ; rep10000++) {\n"));
  EXPECT_FALSE(contains(t.output, "rep10001"));
  EXPECT_TRUE(
      contains(t.run.out, sjis("name=復10000  var=rep10000  prop=N\n")));
}

// Nothing but delimiters: every line is a run of empty tokens that goes
// through as it is (less its spaces and what follows a ';').
TEST(HostileSources, OnlyDelimiters) {
  struct Case {
    const char* label;
    std::string source;
    std::string expected;
  };
  const std::string all = ",\x0C:\t=)(+-/*<>{}";
  const Case cases[] = {
      {"every delimiter", all + ";\n", all + ";\n"},
      {"a million commas", std::string(1'000'000, ',') + "\n",
       std::string(1'000'000, ',') + "\n"},
      {"only semicolons", ";;;;\n;\n", ";\n;\n"},
      {"only line ends", "\n\n\n\r\n", "\n\n\n\n"},
      {"only quotes", "\"\"\"\n\"\n", "\"\"\"\n\"\n"},
      {"only spaces", "    \n", "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const Translation t = translate_source(c.source);
    expect_success(t.run);
    EXPECT_EQ(t.output, c.expected);
  }
}

}  // namespace
}  // namespace zemuc::testing
