#include "text/language.h"

#include <fmt/args.h>
#include <fmt/format.h>

#include <cstdlib>
#include <string>

namespace zemuc {
namespace {

std::string_view env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

std::string fill_store(
    std::string_view pattern,
    const fmt::dynamic_format_arg_store<fmt::format_context>& store) {
#if FMT_EXCEPTIONS
  try {
    return fmt::vformat(pattern, store);
  } catch (const fmt::format_error&) {
    return std::string(pattern);
  }
#else
  // Built without exceptions (WebAssembly), fmt stops at a text it cannot
  // read; every text is a fixed one of the tables, which the native tests
  // fill.
  return fmt::vformat(pattern, store);
#endif
}

}  // namespace

std::string fill(Text text, Language language,
                 std::span<const std::string_view> args) {
  fmt::dynamic_format_arg_store<fmt::format_context> store;
  for (const std::string_view arg : args) store.push_back(arg);
  return fill_store(pick(language, text.japanese, text.english), store);
}

std::string fill(Text text, Language language, std::span<const NamedArg> args) {
  fmt::dynamic_format_arg_store<fmt::format_context> store;
  for (const NamedArg& arg : args)
    store.push_back(fmt::arg(arg.name, arg.value));
  return fill_store(pick(language, text.japanese, text.english), store);
}

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
