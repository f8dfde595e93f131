// Opening, closing and writing text files.
#ifndef ZEMUC_CODEGEN_OPEN_CLOSE_WRITE_H_
#define ZEMUC_CODEGEN_OPEN_CLOSE_WRITE_H_

#include <cstddef>

#include "codegen/context.h"
#include "io/output.h"

namespace zemuc {

// Each takes the keyword's position k; the file is token k+1 and, for a
// write, the variable token k+2. A name that was never declared leaves the
// Leading echo alone. All return 0.
int gen_open(const Context& ctx, std::size_t k, Output& out);
int gen_close(const Context& ctx, std::size_t k, Output& out);
int gen_write(const Context& ctx, std::size_t k, Output& out);

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_OPEN_CLOSE_WRITE_H_
