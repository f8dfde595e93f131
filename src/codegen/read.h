// Reading lines of a text file into a variable.
#ifndef ZEMUC_CODEGEN_READ_H_
#define ZEMUC_CODEGEN_READ_H_

#include <cstddef>

#include "codegen/context.h"
#include "io/output.h"

namespace zemuc {

// One line, with a jump to the common error exit when the data has run out.
// The file is token k+1 and the variable token k+2. Returns 0.
int gen_read(const Context& ctx, std::size_t k, Output& out);

// The head of a loop over every line of the file, and the assignment at the
// top of its body; the source closes the loop with its own brace. Returns 0.
int gen_read_all(const Context& ctx, std::size_t k, Output& out);

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_READ_H_
