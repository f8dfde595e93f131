// The generators: one function per statement, each writing its
// statement's C text for the current line of the context, after the
// Leading echo where it has one. Each family of statements has a unit of
// its own (frame.cc, pass_through.cc, console.cc, repeat.cc,
// open_close_write.cc, read.cc).
#ifndef ZEMUC_CODEGEN_GENERATORS_H_
#define ZEMUC_CODEGEN_GENERATORS_H_

#include <cstddef>

#include "codegen/context.h"
#include "io/output.h"

namespace zemuc {

// --- The frame of the generated program: its head and its tail.

// Includes, `main`, the scratch buffer and one declaration per variable,
// file handle and loop counter; then sets the counter count back to 0 so
// that the n-th repeat statement takes the n-th counter. Returns 0.
int gen_program_head(Context& ctx, Output& out);

// The common error exit, the closing prompt and key wait, and the end of
// `main`. Returns 0.
int gen_program_tail(Output& out);

// --- Lines without a statement keyword: assignments, conditions, braces.

// Writes the line token by token with variable names replaced by their C
// names; a string variable ended by '=' becomes a strcpy call. Returns 0.
int gen_pass_through(const Context& ctx, Output& out);

// --- Display and keyboard-input statements.

// One printf per variable after the keyword at position k, labelled by the
// token before it; with no variable, one printf of the token after the
// keyword. Returns 8 when there is nothing to show.
int gen_display(const Context& ctx, std::size_t k, Output& out);

// One scanf per variable after the keyword at position k. Returns 0.
int gen_input(const Context& ctx, std::size_t k, Output& out);

// --- The counted repeat statement.

// Takes the next loop counter and writes the head of a for-loop that counts
// it from 1 to the bound, the token after the keyword at position k. The
// body and its closing brace are the source's own lines. Returns 0.
int gen_repeat(Context& ctx, std::size_t k, Output& out);

// --- Opening, closing and writing text files.

// Each takes the keyword's position k; the file is token k+1 and, for a
// write, the variable token k+2. A name that was never declared leaves the
// Leading echo alone. All return 0.
int gen_open(const Context& ctx, std::size_t k, Output& out);
int gen_close(const Context& ctx, std::size_t k, Output& out);
int gen_write(const Context& ctx, std::size_t k, Output& out);

// --- Reading lines of a text file into a variable.

// One line, with a jump to the common error exit when the data has run out.
// The file is token k+1 and the variable token k+2. Returns 0.
int gen_read(const Context& ctx, std::size_t k, Output& out);

// The head of a loop over every line of the file, and the assignment at the
// top of its body; the source closes the loop with its own brace. Returns 0.
int gen_read_all(const Context& ctx, std::size_t k, Output& out);

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_GENERATORS_H_
