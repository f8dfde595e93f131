// Building a generated C program with the run-time file into an executable.
#ifndef ZEMUC_ZEMUC_COMPILE_H_
#define ZEMUC_ZEMUC_COMPILE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zemuc/reporter.h"

namespace zemuc {

// What the build needs: the compiler with the words of $CC after its name,
// and the run-time file delkai.c.
struct Toolchain {
  std::vector<std::string> compiler;
  std::string runtime;
};

// $CC if set, else gcc, found on PATH; the run-time file where an install
// puts it beside zemuc's own folder, or where the build tree keeps it.
// Nothing, after a report of what to install, when either is missing.
std::optional<Toolchain> find_toolchain(Reporter& reporter);

// The flags every generated program is built with: it starts with `main()`
// without a return type, and its literals are code page 932.
const std::vector<std::string>& build_flags();

enum class BuildResult { kBuilt, kFailed, kInterrupted };

// Builds `c_file` into `executable`, which is written whole or not at all:
// the compiler writes a scratch file in the same folder that takes the
// name only when the build succeeds. A failed build shows the compiler's
// messages. The caller holds the ending signals back (HeldSignals), so
// that an interrupted build still removes its scratch file.
BuildResult build_program(const Toolchain& toolchain, const std::string& c_file,
                          const std::string& executable, Reporter& reporter);

// Compiler messages for the terminal: each line that is not UTF-8 is taken
// for the Shift-JIS of the generated C the compiler quotes.
std::string compiler_text_for_terminal(std::string_view output,
                                       Encoding terminal);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_COMPILE_H_
