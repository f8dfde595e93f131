#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/expected.h"
#include "support/run.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

const std::string kUsageAndFailure = kUsage + kFailure;

TEST(Cli, NoArgumentShowsUsage) {
  ScratchDir dir;
  const RunResult r = run_translator({}, dir.path());
  EXPECT_EQ(r.status, 8);
  EXPECT_EQ(r.out, sjis(kUsageAndFailure));
  EXPECT_EQ(r.err, "");
}

// Two arguments, or a name too short to lose its extension: usage texts,
// status 8, and nothing created.
TEST(Cli, WrongArgumentsCreateNoFile) {
  const std::vector<std::vector<std::string>> cases = {
      {"a.zem", "b.zem"}, {""}, {"a"}, {"abc"}};
  for (const auto& args : cases) {
    ScratchDir dir;
    dir.write("a.zem", sjis("数a=1;\n"));
    dir.write("abc", sjis("数a=1;\n"));
    const RunResult r = run_translator(args, dir.path());
    EXPECT_EQ(r.status, 8) << args[0];
    EXPECT_EQ(r.out, sjis(kUsageAndFailure)) << args[0];
    EXPECT_EQ(r.err, "");
    int entries = 0;
    for ([[maybe_unused]] const auto& e :
         std::filesystem::directory_iterator(dir.path())) {
      ++entries;
    }
    EXPECT_EQ(entries, 2) << args[0];
  }
}

// The output goes beside the source, whatever the source's extension.
TEST(Cli, OutputGoesBesideTheSource) {
  const struct {
    std::string source;
    std::string output;
  } cases[] = {{"data/keisan.zem", "data/keisan.c"},
               {"memo.txt", "memo.c"},
               {"a.zemx", "a..c"},
               {sjis("計算.zem"), sjis("計算.c")}};
  for (const auto& c : cases) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "data");
    dir.write(c.source, sjis("数a=1;\n"));
    const RunResult r = run_translator({c.source}, dir.path());
    EXPECT_EQ(r.status, 0) << c.source;
    EXPECT_TRUE(r.out.starts_with(sjis("いま，") + c.source + sjis("を") +
                                  c.output + sjis("に書き換えとるきね．\n")))
        << utf8(r.out);
    EXPECT_EQ(dir.read(c.output), "nn1=1;\n") << c.source;
  }
}

// At a console the user must see the last text before pressing the key,
// also when standard output is a pipe (into iconv, say).
TEST(Cli, LastTextIsShownBeforeTheKeyRead) {
  const struct {
    std::vector<std::string> args;
    std::string last_text;
    int status;
  } cases[] = {
      {{"a.zem"}, "cに書き換えたきね．\n", 0},
      {{"x.zem"}, "ちゃんと，約束を見ちゅう？　見直し，しとおせ．\n", 8},
      {{}, "ちゃんと，約束を見ちゅう？　見直し，しとおせ．\n", 8},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    dir.write("a.zem", sjis("数a=1;\n"));
    const PromptedRun run =
        run_translator_after_prompt(c.args, dir.path(), sjis(c.last_text));
    EXPECT_TRUE(run.prompt_before_input) << utf8(run.result.out);
    EXPECT_EQ(run.result.status, c.status);
  }
}

}  // namespace
}  // namespace zemuc::testing
