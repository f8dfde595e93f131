// The statement keywords and the scan that finds a line's statement.
#ifndef ZEMUC_DRIVER_KEYWORDS_H_
#define ZEMUC_DRIVER_KEYWORDS_H_

#include <cstddef>
#include <string_view>

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

// The keyword that `token` is as a whole, or kNone.
Keyword keyword_of(std::string_view token);

struct KeywordHit {
  Keyword keyword = Keyword::kNone;
  std::size_t position = 0;  // 1-based token position; 0 with kNone
};

// The first token of the line that is a keyword; the scan stops there.
KeywordHit find_keyword(const TokenLine& line);

}  // namespace zemuc

#endif  // ZEMUC_DRIVER_KEYWORDS_H_
