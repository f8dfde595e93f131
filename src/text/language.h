// The language of zemuc's own messages: Japanese where the locale's
// language is Japanese, English everywhere else.
#ifndef ZEMUC_TEXT_LANGUAGE_H_
#define ZEMUC_TEXT_LANGUAGE_H_

#include <initializer_list>
#include <span>
#include <string>
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

// A message in both languages, UTF-8: the one way zemuc writes a text for
// people. "{}" takes the next argument and "{name}" the argument of that
// name, as fmt fills them; "{{" and "}}" stand for braces.
struct Text {
  std::string_view japanese;
  std::string_view english;
};

struct NamedArg {
  const char* name;
  std::string_view value;
};

// The text in `language` with its arguments filled in, as they are: file
// names and compiler output are not converted. A text that fmt cannot
// read is given as it stands rather than not at all.
std::string fill(Text text, Language language,
                 std::span<const std::string_view> args);
inline std::string fill(Text text, Language language,
                        std::initializer_list<std::string_view> args) {
  return fill(text, language, std::span(args.begin(), args.size()));
}
std::string fill(Text text, Language language, std::span<const NamedArg> args);

}  // namespace zemuc

#endif  // ZEMUC_TEXT_LANGUAGE_H_
