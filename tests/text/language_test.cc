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
