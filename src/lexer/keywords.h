// The statement keywords and the scan that finds a line's statement.
#ifndef ZEMUC_LEXER_KEYWORDS_H_
#define ZEMUC_LEXER_KEYWORDS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "lexer/sjis_texts.h"
#include "lexer/token_line.h"

namespace zemuc {

enum class Keyword {
  kNone,
  kDisplay,
  kInput,
  kBegin,
  kRepeat,
  kOpen,
  kClose,
  kRead,
  kWrite,
  kEnd,
  kReadAll,
};

// A keyword as the source spells it, in Shift-JIS, and the ASCII name
// that message templates call it by ("{display}" stands for 見る).
struct KeywordEntry {
  std::string_view text;
  Keyword keyword;
  const char* name;
};

namespace keyword_detail {

inline constexpr std::array<KeywordEntry, 10> kKeywords{{
    {sjis::kDisplay, Keyword::kDisplay, "display"},
    {sjis::kInput, Keyword::kInput, "input"},
    {sjis::kBegin, Keyword::kBegin, "begin"},
    {sjis::kRepeat, Keyword::kRepeat, "repeat"},
    {sjis::kOpen, Keyword::kOpen, "open"},
    {sjis::kClose, Keyword::kClose, "close"},
    {sjis::kRead, Keyword::kRead, "read"},
    {sjis::kWrite, Keyword::kWrite, "write"},
    {sjis::kEnd, Keyword::kEnd, "end"},
    {sjis::kReadAll, Keyword::kReadAll, "readall"},
}};

// Every keyword is two to four double-byte characters, and no two of the
// same length share their second byte: a token's length and second byte
// name the one keyword it can be. A slot holds that keyword's place in
// kKeywords plus one, 0 for none.
using Slots = std::array<std::array<std::uint8_t, 256>, 3>;

constexpr std::size_t row_of(std::size_t size) { return (size - 4) / 2; }

constexpr Slots make_slots() {
  Slots slots{};
  for (std::size_t i = 0; i < kKeywords.size(); ++i) {
    const std::string_view text = kKeywords[i].text;
    slots[row_of(text.size())][static_cast<unsigned char>(text[1])] =
        static_cast<std::uint8_t>(i + 1);
  }
  return slots;
}

inline constexpr Slots kSlots = make_slots();

constexpr bool slots_hold_every_keyword() {
  for (std::size_t i = 0; i < kKeywords.size(); ++i) {
    const std::string_view text = kKeywords[i].text;
    if (kSlots[row_of(text.size())][static_cast<unsigned char>(text[1])] !=
        i + 1) {
      return false;
    }
  }
  return true;
}
static_assert(slots_hold_every_keyword(), "two keywords share a slot");

inline std::uint32_t load4(const char* p) {
  std::uint32_t x;
  std::memcpy(&x, p, 4);
  return x;
}

}  // namespace keyword_detail

// Every statement keyword with its spelling, in the order completion
// offers them.
inline constexpr std::span<const KeywordEntry> all_keywords() {
  return keyword_detail::kKeywords;
}

// The Shift-JIS spelling of a keyword; empty for kNone.
inline constexpr std::string_view keyword_spelling(Keyword keyword) {
  for (const KeywordEntry& entry : keyword_detail::kKeywords) {
    if (entry.keyword == keyword) return entry.text;
  }
  return {};
}

// The keyword that `token` is as a whole, or kNone. Inline and free of
// calls: the keyword scan asks it about almost every token.
inline Keyword keyword_of(std::string_view token) {
  using namespace keyword_detail;
  const std::size_t n = token.size();
  if (n < 4 || n > 8 || n % 2 != 0) return Keyword::kNone;
  const std::uint8_t slot =
      kSlots[row_of(n)][static_cast<unsigned char>(token[1])];
  if (slot == 0) return Keyword::kNone;
  const KeywordEntry& entry = kKeywords[slot - 1];
  // Two four-byte loads, overlapping for six bytes, cover the token.
  const char* p = token.data();
  const char* k = entry.text.data();
  if (entry.text.size() != n || load4(p) != load4(k) ||
      load4(p + n - 4) != load4(k + n - 4)) {
    return Keyword::kNone;
  }
  return entry.keyword;
}

struct KeywordHit {
  Keyword keyword = Keyword::kNone;
  std::size_t position = 0;  // 1-based token position; 0 with kNone
};

// The first token of the line that is a keyword; the scan stops there.
KeywordHit find_keyword(const TokenLine& line);

}  // namespace zemuc

#endif  // ZEMUC_LEXER_KEYWORDS_H_
