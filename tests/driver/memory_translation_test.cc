// The in-memory translation hands back, as data, what the console tells:
// where each line's C text begins, and the line that was rejected.
#include "driver/memory_translation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/codegen.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

TEST(MemoryTranslation, EachLineMapsToTheCTextItWrote) {
  const Translation t = translate_in_memory(
      "p.zem", sjis("はじめ\n"
                    "\t数b=数a*2;\n"
                    "\t見る(\"二倍\",数b);\n"
                    "\t閉じる(不明)\n"  // only its echo, no line end
                    "\t}\n"
                    "おわり\n"));
  ASSERT_EQ(t.status, kStatusOk);
  ASSERT_EQ(t.line_starts.size(), 8u);  // 0 unused, six lines, the end
  EXPECT_TRUE(t.c_text_of(1).starts_with("#include <stdio.h>\n"));
  EXPECT_TRUE(t.c_text_of(1).ends_with("\tint nn2;\n"));
  EXPECT_TRUE(SameSjis(t.c_text_of(2), "\tnn1=nn2*2;\n"));
  EXPECT_TRUE(
      SameSjis(t.c_text_of(3), "\tprintf(\"%s[%d]\\n\", \"二倍\", nn1);\n"));
  EXPECT_EQ(t.c_text_of(4), "\t");
  EXPECT_EQ(t.c_text_of(5), "\t}\n");
  EXPECT_TRUE(t.c_text_of(6).starts_with("/* end procedure */\n"));
  EXPECT_EQ(t.line_starts.back(), t.c_text.size());
  EXPECT_EQ(t.c_text_of(0), "");
  EXPECT_EQ(t.c_text_of(7), "");
  EXPECT_EQ(t.rejected.number, 0u);
  EXPECT_EQ(t.tables.variables.count(), 2u);
}

TEST(MemoryTranslation, RejectedLineIsData) {
  const Translation t = translate_in_memory(
      "p.zem", sjis("はじめ\n\t見る();\n\t見る(\"x\");\nおわり\n"));
  EXPECT_EQ(t.status, kStatusFailed);
  EXPECT_EQ(t.rejected.number, 2u);
  EXPECT_TRUE(SameSjis(t.rejected.text, "\t見る();\n"));
  // The C text stops at the rejected line's echo; later lines are not
  // mapped.
  EXPECT_EQ(t.line_starts.size(), 4u);
  EXPECT_EQ(t.c_text_of(2), "\t");
  EXPECT_TRUE(t.console.ends_with(sjis("次の行おかしい\n\t見る();\n")));
}

TEST(MemoryTranslation, EmptySourceAndShortName) {
  const Translation t = translate_in_memory("a", "");
  EXPECT_EQ(t.status, kStatusOk);
  EXPECT_EQ(t.c_text, "");
  EXPECT_EQ(t.line_starts, (std::vector<std::size_t>{0, 0}));
}

}  // namespace
}  // namespace zemuc::testing
