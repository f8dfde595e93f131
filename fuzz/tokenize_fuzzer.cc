// Feeds one line of arbitrary bytes to the tokenizer and checks the shape of
// what it builds: every token a view into the squeezed text, in order, ended
// by the delimiter byte recorded for it, and that text the same as the one
// squeeze_line makes of the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

#include "lexer/token_line.h"
#include "lexer/tokenizer.h"

namespace {

void check(bool ok) {
  if (!ok) abort();
}

bool is_delimiter(char c) {
  return c == '\n' || c == ';' ||
         std::string_view(",\x0C:\t=)(+-/*<>{}").find(c) !=
             std::string_view::npos;
}

void check_shape(const zemuc::TokenLine& line) {
  check(line.count >= 1);
  check(line.tokens.size() > line.count);
  check(line.delims.size() > line.count);
  check(line.lengths.size() > line.count);
  const char* const begin = line.text.data();
  const char* const end = begin + line.text.size();
  const char* previous_end = begin;
  for (std::size_t k = 1; k <= line.count; ++k) {
    const std::string_view token = line.tokens[k];
    const char* token_end = token.data() + token.size();
    // std::less gives a total order even for pointers into other objects.
    check(!std::less<const char*>()(token.data(), previous_end));
    check(!std::less<const char*>()(end, token_end));
    check(line.lengths[k] <= token.size());
    check(is_delimiter(line.delims[k]));
    if (token_end < end) check(*token_end == line.delims[k]);
    if (k < line.count)
      check(token_end < end && line.delims[k] != '\n' && line.delims[k] != ';');
    if (k < line.count) previous_end = token_end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  zemuc::TokenLine line;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // Twice on the same TokenLine: the second line reuses the arrays that the
  // first one grew, as the driver's lines do.
  for (int round = 0; round < 2; ++round) {
    line.text.assign(input);
    zemuc::tokenize_line(line);
    check_shape(line);
    // The text is exactly the tokens, each followed by its delimiter.
    std::string joined;
    for (std::size_t k = 1; k <= line.count; ++k) {
      joined.append(line.tokens[k]);
      joined.push_back(line.delims[k]);
    }
    check(joined == line.text);
    // The tokenizer squeezes as it splits, up to the end of the line; the
    // text it leaves must be what squeezing the whole line begins with (a
    // line without an end gets a line feed of its own).
    std::string squeezed(input);
    zemuc::squeeze_line(squeezed);
    check(squeezed.starts_with(line.text) || squeezed + '\n' == line.text);
  }
  return 0;
}
