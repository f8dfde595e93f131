// Lines without a statement keyword: assignments, conditions, braces.
#ifndef ZEMUC_CODEGEN_PASS_THROUGH_H_
#define ZEMUC_CODEGEN_PASS_THROUGH_H_

#include "codegen/context.h"
#include "io/output.h"

namespace zemuc {

// Writes the line token by token with variable names replaced by their C
// names; a string variable ended by '=' becomes a strcpy call. Returns 0.
int gen_pass_through(const Context& ctx, Output& out);

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_PASS_THROUGH_H_
