// The counted repeat statement.
#ifndef ZEMUC_CODEGEN_REPEAT_H_
#define ZEMUC_CODEGEN_REPEAT_H_

#include <cstddef>

#include "codegen/context.h"
#include "io/output.h"

namespace zemuc {

// Takes the next loop counter and writes the head of a for-loop that counts
// it from 1 to the bound, the token after the keyword at position k. The
// body and its closing brace are the source's own lines. Returns 0.
int gen_repeat(Context& ctx, std::size_t k, Output& out);

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_REPEAT_H_
