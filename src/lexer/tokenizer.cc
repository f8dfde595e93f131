#include "lexer/tokenizer.h"

#include <cstring>

#include "lexer/byte_class.h"

namespace zemuc {
namespace {

// Moves the byte at r of the n bytes at s over to w, as squeezing does: a
// space is dropped, "else " goes over whole with its space, any other byte
// as it is. w never gets ahead of r, so the bytes read are still the input.
// Returns the number of bytes written.
inline std::size_t squeeze_step(char* s, std::size_t n, std::size_t& r,
                                std::size_t& w) {
  if (s[r] == ' ') {
    ++r;
    return 0;
  }
  if (s[r] == 'e' && n - r >= 5 && std::memcmp(s + r, "else ", 5) == 0) {
    std::memmove(s + w, s + r, 5);
    w += 5;
    r += 5;
    return 5;
  }
  s[w++] = s[r++];
  return 1;
}

// Moves the run of ordinary bytes (names, numbers) that starts at r over to
// w, as squeezing does; until the first space is removed they are already
// where they belong. Returns the run's length.
inline std::size_t move_ordinary_run(char* s, std::size_t n, std::size_t& r,
                                     std::size_t& w) {
  std::size_t e = r + 1;
  while (e < n && class_of(s[e]) == ByteClass::kOrdinary) ++e;
  if (w != r) std::memmove(s + w, s + r, e - r);
  const std::size_t length = e - r;
  w += length;
  r = e;
  return length;
}

// Moves the quoted section that starts at r over to w: it runs to the
// closing quote, which is kept but not counted. An unclosed one stops
// before the line feed that ends the line, which then ends the line as
// usual. Squeezing goes on inside the quotes. Returns the bytes counted.
inline std::size_t move_quoted(char* s, std::size_t n, std::size_t& r,
                               std::size_t& w) {
  s[w++] = s[r++];
  std::size_t counted = 1;
  while (r < n && s[r] != '"' && s[r] != '\n') {
    counted += squeeze_step(s, n, r, w);
  }
  if (r < n && s[r] == '"') s[w++] = s[r++];
  return counted;
}

// The line's token arrays as the scan fills them, through plain pointers.
// They only grow, with the number of tokens rather than the length of the
// line, and entries above `count` keep what earlier lines left.
class TokenSlots {
 public:
  explicit TokenSlots(TokenLine& line) : line_(line) { point(); }

  __attribute__((always_inline)) void put(std::size_t k, std::string_view token,
                                          char delim, std::size_t length) {
    if (k >= room_) grow();
    tokens_[k] = token;
    delims_[k] = delim;
    lengths_[k] = length;
  }

 private:
  void grow() {
    line_.resize(room_ < 64 ? 64 : room_ * 2);
    point();
  }
  void point() {
    room_ = line_.tokens.size();
    tokens_ = line_.tokens.data();
    delims_ = line_.delims.data();
    lengths_ = line_.lengths.data();
  }

  TokenLine& line_;
  std::size_t room_ = 0;
  std::string_view* tokens_ = nullptr;
  char* delims_ = nullptr;
  std::size_t* lengths_ = nullptr;
};

}  // namespace

void squeeze_line(std::string& text) {
  const std::size_t first_space = text.find(' ');
  if (first_space == std::string::npos) return;  // most lines have none
  // Nothing moves before the first space, but an "else" right before it
  // keeps that space, so the scan starts where such an "else" would.
  std::size_t r = first_space >= 4 ? first_space - 4 : 0;
  std::size_t w = r;
  while (r < text.size()) squeeze_step(text.data(), text.size(), r, w);
  text.resize(w);
}

void tokenize_line(TokenLine& line) {
  // Squeezing and splitting in one scan: r reads the raw line, w writes the
  // squeezed text in place, and tokens are views of what is already written.
  std::string& text = line.text;
  const std::size_t n = text.size();
  // Room for the line feed that a line without an end gets.
  text.reserve(n + 1);
  char* const s = text.data();
  TokenSlots slots(line);
  std::size_t r = 0;
  std::size_t w = 0;
  std::size_t start = 0;  // where the current token begins in the output
  std::size_t v = 0;      // its length value so far
  std::size_t count = 1;
  auto end_token = [&](char delim) __attribute__((always_inline)) {
    slots.put(count, std::string_view(s + start, w - start), delim, v);
  };

  while (r < n) {
    const char c = s[r];
    switch (class_of(c)) {
      case ByteClass::kOrdinary:
        v += move_ordinary_run(s, n, r, w);
        break;
      case ByteClass::kSpace:
      case ByteClass::kLetterE:
        v += squeeze_step(s, n, r, w);
        break;
      case ByteClass::kSplit:
        end_token(c);
        s[w++] = s[r++];
        start = w;
        v = 0;
        ++count;
        break;
      case ByteClass::kQuote:
        v += move_quoted(s, n, r, w);
        break;
      case ByteClass::kEnd:
        // The line ends here; what follows is dropped.
        end_token(c);
        s[w++] = c;
        text.resize(w);
        line.count = count;
        return;
    }
  }
  // Text without ';' or a line feed ends as if a line feed followed it.
  end_token('\n');
  text.resize(w);
  text.push_back('\n');  // within the reserved room: the views stay valid
  line.count = count;
}

}  // namespace zemuc
