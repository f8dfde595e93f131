// Tokenizing test lines, and showing tokens readably in failure messages.
#ifndef ZEMUC_TESTS_SUPPORT_LINES_H_
#define ZEMUC_TESTS_SUPPORT_LINES_H_

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "lexer/token_line.h"
#include "lexer/tokenizer.h"
#include "support/sjis.h"

namespace zemuc::testing {

// Copies `bytes` into the line and tokenizes it, as the driver does. The
// tokens view into `line.text`, so the line is filled in place.
inline void set_line(TokenLine& line, std::string_view bytes) {
  line.text.assign(bytes);
  tokenize_line(line);
}

// A line as the line reader hands it out to the fast scans: its bytes,
// then padding that they may read. The padding is made of bytes that would
// end a line or a quote, so that a scan that looked past the line's end
// would show it.
class RawLine {
 public:
  explicit RawLine(std::string_view bytes, char fill = '\n')
      : storage_(std::string(bytes) + std::string(16, fill)),
        size_(bytes.size()) {}
  std::string_view view() const { return {storage_.data(), size_}; }

 private:
  std::string storage_;
  std::size_t size_;
};

// One token as a test expects it: text in UTF-8 (bytes without a Shift-JIS
// reading appear as \xNN), its delimiter and its length value.
struct Token {
  std::string text;
  char delim;
  std::size_t length;
  bool operator==(const Token&) const = default;
};

inline void PrintTo(const Token& t, std::ostream* os) {
  *os << '[' << t.text << "|0x" << std::hex
      << static_cast<int>(static_cast<unsigned char>(t.delim)) << std::dec
      << '|' << t.length << ']';
}

// Tokens 1..count of the line.
inline std::vector<Token> tokens_of(const TokenLine& line) {
  std::vector<Token> tokens;
  for (std::size_t k = 1; k <= line.count; ++k) {
    tokens.push_back({utf8(line.tokens[k]), line.delims[k], line.lengths[k]});
  }
  return tokens;
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_SUPPORT_LINES_H_
