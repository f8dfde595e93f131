// The two passes of a translation.
#ifndef ZEMUC_DRIVER_TRANSLATE_H_
#define ZEMUC_DRIVER_TRANSLATE_H_

#include <string>

#include "codegen/context.h"
#include "io/files.h"
#include "io/output.h"

namespace zemuc {

// Translates the source into the output: a declaration pass that fills the
// tables and dumps them to the console, then a generation pass that writes
// the C program. Returns 0, or 8 after printing why on the console.
int translate(Context& ctx, const std::string& source_name,
              const std::string& output_name, Files& files, Output& console);

// Calls the generator of the line in `ctx.line`: the one of its first
// keyword, or the pass-through generator. Returns the generator's status.
int generate_line(Context& ctx, Output& out);

}  // namespace zemuc

#endif  // ZEMUC_DRIVER_TRANSLATE_H_
