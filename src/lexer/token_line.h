// The current source line, squeezed and split into tokens.
#ifndef ZEMUC_LEXER_TOKEN_LINE_H_
#define ZEMUC_LEXER_TOKEN_LINE_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zemuc {

// Positions run 1..count; index 0 of every array is unused. The arrays are
// kept between lines so that a line costs no allocation once they have grown.
struct TokenLine {
  // After tokenize_line, the squeezed line up to its end: exactly its
  // tokens, each followed by its delimiter, and `tokens` views into it.
  // tokenize_raw leaves it alone when the line needs no squeezing; its
  // tokens then view into the raw line. Either way the bytes of tokens i..j
  // with their delimiters are one piece of memory.
  std::string text;
  // tokens[k]: the text of token k, without the delimiter that ended it.
  std::vector<std::string_view> tokens;
  // delims[k]: the delimiter byte that ended token k.
  std::string delims;
  // lengths[k]: the bytes of token k, less the closing quote of each quoted
  // section in it.
  std::vector<std::size_t> lengths;
  // Number of tokens, at least 1 after tokenize_line.
  std::size_t count = 0;

  // Makes the three arrays hold positions 0..room-1.
  void resize(std::size_t room) {
    tokens.resize(room);
    delims.resize(room);
    lengths.resize(room);
  }

  // A position above `count` (or 0) reads as an empty token: generators look
  // at the tokens after their keyword without checking that they exist.
  std::string_view token(std::size_t k) const {
    return k >= 1 && k <= count ? tokens[k] : std::string_view();
  }
  char delim(std::size_t k) const {
    return k >= 1 && k <= count ? delims[k] : '\0';
  }
  std::size_t length(std::size_t k) const {
    return k >= 1 && k <= count ? lengths[k] : 0;
  }
  // Tokens 1..k-1 with their delimiters: the text before token k; for k
  // above count, the whole line with its last delimiter.
  std::string_view before(std::size_t k) const {
    const char* const first = tokens[1].data();
    const char* const stop =
        k <= count ? tokens[k].data()
                   : tokens[count].data() + tokens[count].size() + 1;
    return std::string_view(first, stop - first);
  }
};

}  // namespace zemuc

#endif  // ZEMUC_LEXER_TOKEN_LINE_H_
