#include "text/language.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zemuc {
namespace {

// Sets the locale variables for one test and puts them back after it.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.push_back(value == nullptr ? nullptr : strdup(value));
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
      if (saved_[i] == nullptr) {
        unsetenv(kNames[i]);
      } else {
        setenv(kNames[i], saved_[i], 1);
        free(saved_[i]);
      }
    }
  }
  static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES",
                                           "LANG"};
  std::vector<char*> saved_;
};

TEST_F(LocaleEnvironment, JapaneseOnlyWhereTheLocaleSaysSo) {
  EXPECT_EQ(message_language(), Language::kEnglish);  // nothing set
  setenv("LANG", "ja_JP.UTF-8", 1);
  EXPECT_EQ(message_language(), Language::kJapanese);
  setenv("LC_MESSAGES", "en_US.UTF-8", 1);
  EXPECT_EQ(message_language(), Language::kEnglish);
  setenv("LC_ALL", "ja_JP.SJIS", 1);
  EXPECT_EQ(message_language(), Language::kJapanese);
  setenv("LC_ALL", "C.UTF-8", 1);
  EXPECT_EQ(message_language(), Language::kEnglish);
}

TEST_F(LocaleEnvironment, LanguageListCountsOutsideTheCLocale) {
  setenv("LANGUAGE", "ja:en", 1);
  EXPECT_EQ(message_language(), Language::kEnglish);  // no locale: C
  setenv("LANG", "C", 1);
  EXPECT_EQ(message_language(), Language::kEnglish);
  setenv("LANG", "en_GB.UTF-8", 1);
  EXPECT_EQ(message_language(), Language::kJapanese);
}

}  // namespace
}  // namespace zemuc

namespace zemuc {
namespace {

TEST(Fill, PositionalNamedAndBraces) {
  const Text text{"{} を {} で", "{} with {}"};
  EXPECT_EQ(fill(text, Language::kJapanese, {"a.zem", "gcc"}),
            "a.zem を gcc で");
  EXPECT_EQ(fill(text, Language::kEnglish, {"a.zem", "gcc"}), "a.zem with gcc");
  const NamedArg args[] = {{"subject", "数a"}, {"open", "開く"}};
  EXPECT_EQ(fill({"", "{open}({subject}) }}else{{ {subject}"},
                 Language::kEnglish, args),
            "開く(数a) }else{ 数a");
  // Arguments are never read as patterns, and a text fmt cannot read is
  // shown as it stands instead of ending zemuc.
  EXPECT_EQ(fill({"", "'{}'"}, Language::kEnglish, {"{oops}"}), "'{oops}'");
  EXPECT_EQ(fill({"", "a } b"}, Language::kEnglish, {}), "a } b");
  EXPECT_EQ(fill({"", "{missing}"}, Language::kEnglish, args), "{missing}");
  // Checked before fmt reads it, so that a build without exceptions shows
  // the same: a lone brace first, last, or a field with nothing to fill it.
  EXPECT_EQ(fill({"{ と } が合いません", ""}, Language::kJapanese, {}),
            "{ と } が合いません");
  EXPECT_EQ(fill({"", "a {"}, Language::kEnglish, {}), "a {");
  EXPECT_EQ(fill({"", "{} and {}"}, Language::kEnglish, {"one"}), "{} and {}");
  EXPECT_EQ(fill({"", "{open}{}"}, Language::kEnglish, args), "{open}{}");
}

}  // namespace
}  // namespace zemuc
