#include "server/toolchain_search.h"

#include <gtest/gtest.h>

#include <string>

namespace zemuc::testing {
namespace {

toolchain::Toolchain sample() {
  toolchain::Toolchain t;
  t.compiler = {"/usr/bin/gcc", "-m32", ""};
  t.runtime = "/opt/share/zemucfilter/delkai.c";
  t.family = toolchain::Family::kClang;
  t.major_version = 14;
  // A version text has lines, and may hold the separators of the text.
  t.version_text = "clang version 14.0.6\n3:abc\n\n";
  t.abilities.refused = {"-fno-diagnostics-color", "12:x"};
  t.abilities.checks = false;
  return t;
}

bool same(const toolchain::Toolchain& a, const toolchain::Toolchain& b) {
  return a.compiler == b.compiler && a.runtime == b.runtime &&
         a.family == b.family && a.major_version == b.major_version &&
         a.version_text == b.version_text &&
         a.abilities.refused == b.abilities.refused &&
         a.abilities.checks == b.abilities.checks;
}

TEST(ToolchainSearch, TheChildsTextGivesTheToolchainBack) {
  const toolchain::Toolchain t = sample();
  const auto back = lsp::toolchain_from(lsp::toolchain_text(t));
  ASSERT_TRUE(back);
  EXPECT_TRUE(same(*back, t));
  toolchain::Toolchain plain;
  plain.compiler = {"/usr/bin/cc"};
  const auto plain_back = lsp::toolchain_from(lsp::toolchain_text(plain));
  ASSERT_TRUE(plain_back);
  EXPECT_TRUE(same(*plain_back, plain));
}

// A child that died while writing, or wrote something else, found nothing.
TEST(ToolchainSearch, AnyTextNotWholeIsNoToolchain) {
  const std::string whole = lsp::toolchain_text(sample());
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    EXPECT_FALSE(lsp::toolchain_from(whole.substr(0, cut))) << cut;
  }
  toolchain::Toolchain none;  // no compiler
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"more after it", whole + "0:"},
      {"no compiler", lsp::toolchain_text(none)},
      {"a length beyond the text", "99999999999999999999:x"},
      {"a negative count", "2:-1"},
      {"a family out of range", "1:11:a0:1:91:00:1:01:1"},
      {"checks neither 0 nor 1", "1:11:a0:1:01:00:1:01:2"},
      {"no colon", "12"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(lsp::toolchain_from(c.text)) << c.what;
  }
  // The last two rows are whole but for the one field.
  EXPECT_TRUE(lsp::toolchain_from("1:11:a0:1:01:00:1:01:1"));
}

}  // namespace
}  // namespace zemuc::testing
