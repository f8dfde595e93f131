// Display and keyboard-input statements.
#ifndef ZEMUC_CODEGEN_CONSOLE_H_
#define ZEMUC_CODEGEN_CONSOLE_H_

#include <cstddef>

#include "codegen/context.h"
#include "io/output.h"

namespace zemuc {

// One printf per variable after the keyword at position k, labelled by the
// token before it; with no variable, one printf of the token after the
// keyword. Returns 8 when there is nothing to show.
int gen_display(const Context& ctx, std::size_t k, Output& out);

// One scanf per variable after the keyword at position k. Returns 0.
int gen_input(const Context& ctx, std::size_t k, Output& out);

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_CONSOLE_H_
