#include "text/language.h"

#include <fmt/args.h>
#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace zemuc {
namespace {

std::string_view env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

// Whether fmt reads every field of `pattern` with the arguments given:
// {{ and }} are braces, {} takes the next positional argument and {name} a
// named one; nothing else. Checked before fmt is called, in every build,
// since without exceptions (WebAssembly) fmt stops at a text it cannot read.
bool readable(std::string_view pattern, std::size_t positional,
              std::span<const NamedArg> named) {
  std::size_t next = 0;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    if (pattern[at] == '}') {
      if (at + 1 >= pattern.size() || pattern[at + 1] != '}') return false;
      ++at;
      continue;
    }
    if (pattern[at] != '{') continue;
    if (at + 1 < pattern.size() && pattern[at + 1] == '{') {
      ++at;
      continue;
    }
    const std::size_t close = pattern.find('}', at);
    if (close == std::string_view::npos) return false;
    const std::string_view field = pattern.substr(at + 1, close - at - 1);
    const bool known = field.empty() ? next++ < positional
                                     : std::any_of(named.begin(), named.end(),
                                                   [&](const NamedArg& arg) {
                                                     return field == arg.name;
                                                   });
    if (!known) return false;
    at = close;
  }
  return true;
}

// A text that fmt cannot read is shown as it stands.
std::string fill_store(
    std::string_view pattern, bool readable_pattern,
    const fmt::dynamic_format_arg_store<fmt::format_context>& store) {
  if (!readable_pattern) return std::string(pattern);
  return fmt::vformat(pattern, store);
}

}  // namespace

std::string fill(Text text, Language language,
                 std::span<const std::string_view> args) {
  fmt::dynamic_format_arg_store<fmt::format_context> store;
  for (const std::string_view arg : args) store.push_back(arg);
  const std::string_view pattern = pick(language, text.japanese, text.english);
  return fill_store(pattern, readable(pattern, args.size(), {}), store);
}

std::string fill(Text text, Language language, std::span<const NamedArg> args) {
  fmt::dynamic_format_arg_store<fmt::format_context> store;
  for (const NamedArg& arg : args)
    store.push_back(fmt::arg(arg.name, arg.value));
  const std::string_view pattern = pick(language, text.japanese, text.english);
  return fill_store(pattern, readable(pattern, 0, args), store);
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
