// Line squeezing and the tokenizer.
#ifndef ZEMUC_LEXER_TOKENIZER_H_
#define ZEMUC_LEXER_TOKENIZER_H_

#include <string>
#include <string_view>

#include "lexer/token_line.h"

namespace zemuc {

// Removes every space (0x20) from `text`, except the one right after the four
// letters "else". Quotes give no protection.
void squeeze_line(std::string& text);

// Squeezes `line.text`, which holds a copy of the raw line, and splits it into
// tokens at delimiter bytes. The line ends at its first ';' or line feed
// outside double quotes; text that has neither ends as if a line feed
// followed it, and gets one. What follows the end of the line is dropped.
void tokenize_line(TokenLine& line);

// Tokenizes `raw` as tokenize_line tokenizes a copy of it, reading the line
// where it lies. `raw` is a line as the line reader gives it: it ends with a
// line feed, and the 15 bytes after it can be read. A line that needs no
// squeezing (most have no space) is split in place: its tokens view into
// `raw`, and `line.text` is left as it was. Any other line is copied into
// `line.text` and handed to tokenize_line.
void tokenize_raw(TokenLine& line, std::string_view raw);
// The same with a byte-by-byte scan in place of the 16-byte one.
void tokenize_raw_portable(TokenLine& line, std::string_view raw);

}  // namespace zemuc

#endif  // ZEMUC_LEXER_TOKENIZER_H_
