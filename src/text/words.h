// Small pieces of reading text that messages, protocols and reports all
// need: blanks trimmed, and numbers read as digits say them.
#ifndef ZEMUC_TEXT_WORDS_H_
#define ZEMUC_TEXT_WORDS_H_

#include <charconv>
#include <optional>
#include <string_view>

namespace zemuc {

// `text` without the blanks (spaces, tabs) and line ends on either side,
// or without the bytes of `blanks` where a format names its own.
inline std::string_view trimmed(std::string_view text,
                                std::string_view blanks = " \t\r\n") {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The number that `digits` spells wholly (decimal, or in `base`, as
// std::from_chars reads it); nothing for anything else or a number too
// large for T.
template <typename T>
std::optional<T> number_of(std::string_view digits, int base = 10) {
  T value{};
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value, base);
  if (digits.empty() || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return value;
}

// The number that the digits (in `base`) at the start of `text` spell, and
// 0 when none start it or they spell more than T holds.
template <typename T>
T leading_number(std::string_view text, int base = 10) {
  T value{};
  const auto [stop, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, base);
  return error == std::errc() ? value : T{};
}

}  // namespace zemuc

#endif  // ZEMUC_TEXT_WORDS_H_
