#include "lexer/tokenizer.h"

#include <array>
#include <cstring>

namespace zemuc {
namespace {

enum class ByteClass : unsigned char { kOrdinary, kSplit, kQuote, kEnd };

// The scan is byte-wise: the lead and trail bytes of double-byte characters
// are classified like any other byte, so a trail byte of 0x7B or 0x7D splits
// a name as '{' or '}' would.
constexpr std::array<ByteClass, 256> make_byte_classes() {
  std::array<ByteClass, 256> classes{};
  for (unsigned char c : std::string_view(",\x0C:\t=)(+-/*<>{}")) {
    classes[c] = ByteClass::kSplit;
  }
  classes['"'] = ByteClass::kQuote;
  classes[';'] = ByteClass::kEnd;
  classes['\n'] = ByteClass::kEnd;
  return classes;
}

constexpr std::array<ByteClass, 256> kByteClass = make_byte_classes();

ByteClass class_of(char c) {
  return kByteClass[static_cast<unsigned char>(c)];
}

}  // namespace

void squeeze_line(std::string& text) {
  const std::size_t first_space = text.find(' ');
  if (first_space == std::string::npos) return;  // most lines have none
  // Nothing moves before the first space, but an "else" right before it
  // keeps that space, so the scan starts where such an "else" would.
  std::size_t r = first_space >= 4 ? first_space - 4 : 0;
  std::size_t w = r;
  const std::size_t n = text.size();
  while (r < n) {
    const char c = text[r];
    if (c == ' ') {
      ++r;
    } else if (c == 'e' && text.compare(r, 5, "else ") == 0) {
      // w never gets ahead of r, so the bytes compared are still the input.
      std::memmove(&text[w], &text[r], 5);
      r += 5;
      w += 5;
    } else {
      text[w++] = text[r++];
    }
  }
  text.resize(w);
}

void tokenize_line(TokenLine& line) {
  squeeze_line(line.text);
  const std::string_view text = line.text;
  line.tokens.resize(1);
  line.delims.resize(1);
  line.lengths.resize(1);

  std::size_t start = 0;  // where the current token begins
  std::size_t v = 0;      // its length value so far
  // Forced inline: called from three places, the compiler would otherwise
  // make it a call per token, a tenth of a whole translation.
  auto end_token = [&](std::size_t p,
                       char delim) __attribute__((always_inline)) {
    line.tokens.push_back(std::string_view(text.data() + start, p - start));
    line.delims.push_back(delim);
    line.lengths.push_back(v);
    start = p + 1;
    v = 0;
  };

  std::size_t p = 0;
  const std::size_t n = text.size();
  for (; p < n; ++p) {
    const char c = text[p];
    switch (class_of(c)) {
      case ByteClass::kSplit:
        end_token(p, c);
        break;
      case ByteClass::kQuote:
        // The quoted section runs to the closing quote, which is passed
        // over and not counted. An unclosed one stops before the line feed
        // that ends the line, which then ends the line as usual.
        ++v;
        while (p + 1 < n && text[p + 1] != '"' && text[p + 1] != '\n') {
          ++p;
          ++v;
        }
        if (p + 1 < n && text[p + 1] == '"') ++p;
        break;
      case ByteClass::kEnd:
        end_token(p, c);
        line.count = line.tokens.size() - 1;
        return;
      case ByteClass::kOrdinary:
        ++v;
        break;
    }
  }
  end_token(p, '\n');
  line.count = line.tokens.size() - 1;
}

}  // namespace zemuc
