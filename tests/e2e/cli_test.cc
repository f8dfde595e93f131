#include <gtest/gtest.h>

#include "support/run.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

TEST(Cli, NoArgumentShowsUsage) {
  ScratchDir dir;
  const RunResult r = run_translator({}, dir.path());
  EXPECT_EQ(r.status, 8);
  EXPECT_EQ(r.out, sjis("使い方まちごうとる．\n"
                        "「zemucfilter 『ファイルの名前.zem』」じゃきね．\n"
                        "ちゃんと，約束を見ちゅう？　見直し，しとおせ．\n"));
  EXPECT_EQ(r.err, "");
}

}  // namespace
}  // namespace zemuc::testing
