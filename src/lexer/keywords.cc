#include "lexer/keywords.h"

namespace zemuc {

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
