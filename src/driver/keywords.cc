#include "driver/keywords.h"

#include <array>
#include <utility>

#include "sjis_texts.h"

namespace zemuc {

namespace {

// The lead bytes that keywords begin with, to turn most tokens away before
// comparing them: names begin with other characters.
constexpr std::array<bool, 256> make_keyword_starts() {
  std::array<bool, 256> starts{};
  for (std::string_view keyword :
       {sjis::kDisplay, sjis::kInput, sjis::kBegin, sjis::kRepeat, sjis::kOpen,
        sjis::kClose, sjis::kRead, sjis::kWrite, sjis::kEnd, sjis::kReadAll}) {
    starts[static_cast<unsigned char>(keyword[0])] = true;
  }
  return starts;
}

constexpr std::array<bool, 256> kMayStartKeyword = make_keyword_starts();

}  // namespace

Keyword keyword_of(std::string_view token) {
  // Every keyword is two to four double-byte characters; most tokens are
  // turned away by their length alone.
  if (token.size() < 4 || token.size() > 8 || token.size() % 2 != 0 ||
      !kMayStartKeyword[static_cast<unsigned char>(token[0])]) {
    return Keyword::kNone;
  }
  static constexpr std::array<std::pair<std::string_view, Keyword>, 10>
      kKeywords{{
          {sjis::kDisplay, Keyword::kDisplay},
          {sjis::kInput, Keyword::kInput},
          {sjis::kBegin, Keyword::kBegin},
          {sjis::kRepeat, Keyword::kRepeat},
          {sjis::kOpen, Keyword::kOpen},
          {sjis::kClose, Keyword::kClose},
          {sjis::kRead, Keyword::kRead},
          {sjis::kWrite, Keyword::kWrite},
          {sjis::kEnd, Keyword::kEnd},
          {sjis::kReadAll, Keyword::kReadAll},
      }};
  for (const auto& [text, keyword] : kKeywords) {
    if (token == text) return keyword;
  }
  return Keyword::kNone;
}

KeywordHit find_keyword(const TokenLine& line) {
  for (std::size_t k = 1; k <= line.count; ++k) {
    if (const Keyword keyword = keyword_of(line.tokens[k]);
        keyword != Keyword::kNone) {
      return {keyword, k};
    }
  }
  return {};
}

}  // namespace zemuc
