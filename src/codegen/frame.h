// The frame of the generated program: its head and its tail.
#ifndef ZEMUC_CODEGEN_FRAME_H_
#define ZEMUC_CODEGEN_FRAME_H_

#include "codegen/context.h"
#include "io/output.h"

namespace zemuc {

// Includes, `main`, the scratch buffer and one declaration per variable,
// file handle and loop counter; then sets the counter count back to 0 so
// that the n-th repeat statement takes the n-th counter. Returns 0.
int gen_program_head(Context& ctx, Output& out);

// The common error exit, the closing prompt and key wait, and the end of
// `main`. Returns 0.
int gen_program_tail(Output& out);

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_FRAME_H_
