#include "exercise/compare.h"

#include <algorithm>
#include <vector>

#include "lexer/sjis_texts.h"
#include "text/encoding.h"

namespace zemuc::exercise {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The full-width space, U+3000 in UTF-8: what the space bar types while a
// Japanese input method is on, as much a blank to the learner as ' '.
constexpr std::string_view kWideSpace = "\xE3\x80\x80";

// The bytes of the blank (or line end, `with_line_end`) that `text` starts
// with; 0 for anything else.
std::size_t blank_length(std::string_view text, bool with_line_end = false) {
  if (text.empty()) return 0;
  if (is_blank(text[0]) || (with_line_end && text[0] == '\n')) return 1;
  return text.starts_with(kWideSpace) ? kWideSpace.size() : 0;
}

// `text` without its blanks at the end.
std::string_view trimmed_end(std::string_view text, bool with_line_end) {
  for (;;) {
    if (!text.empty() &&
        (is_blank(text.back()) || (with_line_end && text.back() == '\n'))) {
      text.remove_suffix(1);
    } else if (text.ends_with(kWideSpace)) {
      text.remove_suffix(kWideSpace.size());
    } else {
      return text;
    }
  }
}

// The lines between line ends; a text that ends its last line has an
// empty one after it, so that a missing last line end shows.
std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  if (text.empty()) return lines;
  for (;;) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// `text` without the bytes in `bytes`, and without full-width spaces
// where `wide_spaces`.
std::string without(std::string_view text, std::string_view bytes,
                    bool wide_spaces = false) {
  std::string out;
  while (!text.empty()) {
    if (wide_spaces && text.starts_with(kWideSpace)) {
      text.remove_prefix(kWideSpace.size());
      continue;
    }
    if (bytes.find(text[0]) == std::string_view::npos) out += text[0];
    text.remove_prefix(1);
  }
  return out;
}

std::string lines_normalised(std::string_view text) {
  if (text.ends_with('\n')) text.remove_suffix(1);
  std::string out;
  for (std::string_view line : split_lines(text)) {
    out.append(trimmed_end(line, false)).append("\n");
  }
  return out;
}

std::string tokens_normalised(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    while (const std::size_t n = blank_length(text, true)) {
      text.remove_prefix(n);
    }
    std::size_t word = 0;
    while (word < text.size() && blank_length(text.substr(word), true) == 0) {
      ++word;
    }
    if (word > 0) out.append(text.substr(0, word)).append("\n");
    text.remove_prefix(word);
  }
  return out;
}

// What kind the difference of two normalised texts is; words are apart
// by line ends there, which for the learner are blanks.
Difference::Kind kind_of(const std::string& expected, const std::string& got,
                         Compare compare) {
  using Kind = Difference::Kind;
  if (compare != Compare::kTokens &&
      without(expected, "\r\n") == without(got, "\r\n")) {
    return Kind::kLineEnd;
  }
  if (without(expected, " \t\r\n", true) == without(got, " \t\r\n", true)) {
    return Kind::kSpaces;
  }
  if (fold_fullwidth(expected) == fold_fullwidth(got)) return Kind::kFullwidth;
  return Kind::kOther;
}

}  // namespace

std::string without_closing_line(std::string_view text) {
  const std::string closing =
      convert_text(sjis::kEndPrompt, Encoding::kShiftJis, Encoding::kUtf8);
  std::string_view kept = trimmed_end(text, true);
  if (!kept.ends_with(closing)) return std::string(text);
  kept.remove_suffix(closing.size());
  return std::string(kept);
}

std::string fold_fullwidth(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const std::size_t n = character_length(text, Encoding::kUtf8);
    const char32_t c = n > 1 ? code_point(text) : 0;
    const bool letter =
        (c >= U'Ａ' && c <= U'Ｚ') || (c >= U'ａ' && c <= U'ｚ');
    const bool digit = c >= U'０' && c <= U'９';
    if (letter || digit) {
      out += static_cast<char>(c - U'０' + U'0');
    } else {
      out.append(text.substr(0, n));
    }
    text.remove_prefix(n);
  }
  return out;
}

std::string normalised(std::string_view text, Compare compare, bool fullwidth) {
  std::string out = without_closing_line(text);
  if (fullwidth) out = fold_fullwidth(out);
  switch (compare) {
    case Compare::kExact:
      return out;
    case Compare::kLines:
      return lines_normalised(out);
    case Compare::kTokens:
      return tokens_normalised(out);
  }
  return out;
}

std::optional<Difference> first_difference(std::string_view expected,
                                           std::string_view got,
                                           const CaseSettings& settings) {
  const std::string e =
      normalised(expected, settings.compare, settings.fullwidth);
  const std::string g = normalised(got, settings.compare, settings.fullwidth);
  if (e == g) return std::nullopt;
  Difference difference;
  difference.words = settings.compare == Compare::kTokens;
  difference.kind = kind_of(e, g, settings.compare);
  const std::vector<std::string_view> e_lines = split_lines(e);
  const std::vector<std::string_view> g_lines = split_lines(g);
  std::size_t i = 0;
  while (i < e_lines.size() && i < g_lines.size() && e_lines[i] == g_lines[i]) {
    ++i;
  }
  difference.unit = i + 1;
  if (i < e_lines.size()) difference.expected = std::string(e_lines[i]);
  if (i < g_lines.size()) difference.got = std::string(g_lines[i]);
  return difference;
}

std::size_t display_width(char32_t c) {
  const bool half_width_kana = c >= 0xFF61 && c <= 0xFF9F;
  return (c >= 0x1100 && c <= 0x115F) ||
                 (c >= 0x2E80 && !half_width_kana && c <= 0x3FFFD)
             ? 2
             : 1;
}

std::string difference_marks(std::string_view expected, std::string_view got) {
  std::string marks;
  std::size_t columns_after = 0;  // spaces owed before the next mark
  while (!got.empty()) {
    const std::size_t n = character_length(got, Encoding::kUtf8);
    const std::size_t m =
        expected.empty() ? 0 : character_length(expected, Encoding::kUtf8);
    const bool same = m == n && expected.substr(0, m) == got.substr(0, n);
    const std::size_t width = display_width(code_point(got));
    if (same) {
      columns_after += width;
    } else {
      marks.append(columns_after, ' ').append(width, '^');
      columns_after = 0;
    }
    got.remove_prefix(n);
    expected.remove_prefix(std::min(m, expected.size()));
  }
  if (!expected.empty()) marks.append(columns_after, ' ').append("^");
  return marks;
}

}  // namespace zemuc::exercise
