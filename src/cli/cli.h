// The command line: argument check, console dialogue and exit status.
#ifndef ZEMUC_CLI_CLI_H_
#define ZEMUC_CLI_CLI_H_

#include <functional>
#include <span>

#include "io/files.h"
#include "io/output.h"

namespace zemuc {

// Runs the translator on `args` (the program name, then the arguments) and
// returns the exit status, 0 or 8. Every run ends by flushing the console
// and calling `read_key` once.
int run_cli(std::span<const char* const> args, Files& files, Output& console,
            const std::function<void()>& read_key);

}  // namespace zemuc

#endif  // ZEMUC_CLI_CLI_H_
