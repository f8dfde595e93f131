// The Leading echo: what stands before a statement's keyword.
#ifndef ZEMUC_CODEGEN_ECHO_H_
#define ZEMUC_CODEGEN_ECHO_H_

#include <cstddef>

#include "io/output.h"
#include "lexer/token_line.h"

namespace zemuc {

// Writes tokens 1..k-1, each followed by its delimiter byte, and no line
// end. This carries indenting tabs, closing braces and an `else` before the
// keyword into the C text. Inline: a block statement writes it before
// each of its lines.
inline void write_leading_echo(const TokenLine& line, std::size_t k,
                               Output& out) {
  out << line.before(k);
}

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_ECHO_H_
