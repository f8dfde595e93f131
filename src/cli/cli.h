// The command line: argument check, console dialogue and exit status.
#ifndef ZEMUC_CLI_CLI_H_
#define ZEMUC_CLI_CLI_H_

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "io/files.h"
#include "io/output.h"

namespace zemuc {

// The source name without its last four bytes, whatever they are, plus
// ".c"; nothing for a name shorter than four bytes.
std::optional<std::string> output_name_for(std::string_view source_name);

// Runs the translator on `args` (the program name, then the arguments) and
// returns the exit status, 0 or 8. Every run ends by flushing the console
// and calling `read_key` once.
int run_cli(std::span<const char* const> args, Files& files, Output& console,
            const std::function<void()>& read_key);

}  // namespace zemuc

#endif  // ZEMUC_CLI_CLI_H_
