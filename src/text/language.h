// The language of zemuc's own messages: Japanese where the locale's
// language is Japanese, English everywhere else.
#ifndef ZEMUC_TEXT_LANGUAGE_H_
#define ZEMUC_TEXT_LANGUAGE_H_

#include <string_view>

namespace zemuc {

enum class Language { kJapanese, kEnglish };

// Japanese for a locale name such as "ja_JP.UTF-8" or "ja"; English for
// anything else, "C" and "POSIX" included.
Language language_of_locale(std::string_view locale_name);

// As gettext-using tools choose: LANGUAGE, LC_ALL, LC_MESSAGES, then LANG,
// the first that is set and not empty. (LANGUAGE only counts when the
// locale is not C.)
Language message_language();

// The text in the language: both forms are UTF-8.
inline std::string_view pick(Language language, std::string_view japanese,
                             std::string_view english) {
  return language == Language::kJapanese ? japanese : english;
}

}  // namespace zemuc

#endif  // ZEMUC_TEXT_LANGUAGE_H_
