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
  // The arrays only grow, with the number of tokens rather than the length
  // of the line, and entries above `count` keep what earlier lines left.
  std::string_view* tokens = line.tokens.data();
  char* delims = line.delims.data();
  std::size_t* lengths = line.lengths.data();
  std::size_t room = line.tokens.size();
  auto grow = [&] {
    room = room < 64 ? 64 : room * 2;
    line.resize(room);
    tokens = line.tokens.data();
    delims = line.delims.data();
    lengths = line.lengths.data();
  };

  std::size_t r = 0;
  std::size_t w = 0;
  std::size_t start = 0;  // where the current token begins in the output
  std::size_t v = 0;      // its length value so far
  std::size_t count = 1;
  auto end_token = [&](char delim) __attribute__((always_inline)) {
    if (count >= room) grow();
    tokens[count] = std::string_view(s + start, w - start);
    delims[count] = delim;
    lengths[count] = v;
  };

  while (r < n) {
    const char c = s[r];
    switch (class_of(c)) {
      case ByteClass::kOrdinary: {
        // Most bytes come in runs of ordinary ones (names, numbers); until
        // the first space is removed they are already where they belong.
        std::size_t e = r + 1;
        while (e < n && class_of(s[e]) == ByteClass::kOrdinary) ++e;
        if (w != r) std::memmove(s + w, s + r, e - r);
        w += e - r;
        v += e - r;
        r = e;
        break;
      }
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
        // The quoted section runs to the closing quote, which is kept but
        // not counted. An unclosed one stops before the line feed that ends
        // the line, which then ends the line as usual. Squeezing goes on
        // inside the quotes.
        s[w++] = s[r++];
        ++v;
        while (r < n && s[r] != '"' && s[r] != '\n')
          v += squeeze_step(s, n, r, w);
        if (r < n && s[r] == '"') s[w++] = s[r++];
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
