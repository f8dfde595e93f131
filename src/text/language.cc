#include "text/language.h"

#include <cstdlib>
#include <string>

namespace zemuc {
namespace {

std::string_view env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

Language language_of_locale(std::string_view locale_name) {
  return locale_name.starts_with("ja") ? Language::kJapanese
                                       : Language::kEnglish;
}

Language message_language() {
  std::string_view locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = env(name);
    if (!locale.empty()) break;
  }
  // LANGUAGE is a list such as "ja:en"; its first entry decides, but gettext
  // ignores it in the C locale.
  const std::string_view list = env("LANGUAGE");
  const bool c_locale = locale.empty() || locale == "C" || locale == "POSIX" ||
                        locale.starts_with("C.");
  if (!list.empty() && !c_locale) {
    return language_of_locale(list.substr(0, list.find(':')));
  }
  return language_of_locale(locale);
}

}  // namespace zemuc
