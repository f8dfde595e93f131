// Line squeezing and the tokenizer.
#ifndef ZEMUC_LEXER_TOKENIZER_H_
#define ZEMUC_LEXER_TOKENIZER_H_

#include <string>

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

}  // namespace zemuc

#endif  // ZEMUC_LEXER_TOKENIZER_H_
