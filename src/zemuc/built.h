// A source read and made the Shift-JIS the translator reads, translated
// and built: what zemuc run and build and zemuc test share.
#ifndef ZEMUC_ZEMUC_BUILT_H_
#define ZEMUC_ZEMUC_BUILT_H_

#include <signal.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "explain/explain.h"
#include "front/reporter.h"
#include "program/copy.h"
#include "program/program.h"
#include "zemuc/command_line.h"
#include "zemuc/names.h"

namespace zemuc {

// The source as the translator reads it, or nothing after a report.
std::optional<std::string> load_source(const Command& command,
                                       Reporter& reporter);

// The findings of the check, rendered for the terminal; empty when there
// are none.
std::string findings_of(const Command& command, const std::string& source,
                        const Reporter& reporter);

// The status with which an interrupted build ends, when the held signal
// does not end the process first.
inline constexpr int kExitInterrupted = 128 + SIGINT;

// A program translated and built, with what its messages are mapped by.
struct BuiltProgram {
  Program program;
  CopyMap map;
  bool checked = false;
  // Whether it has the frame's own checks, the compiler having no
  // sanitizers: their report is read as a checked program's.
  bool own_checks = false;
  // Whether the compiler can build checks here, for what is said of a
  // fault without them.
  bool checks_possible = true;
  std::vector<explain::ValueMissing> values_missing;

  // Whether checks of either kind write a report of what they find.
  bool reports() const { return checked || own_checks; }
};

// Translates the source (read and converted), writes the C file whole and
// builds `executable`, with the compiler's copy in `scratch`; the built
// program, or the exit status of the failure. The caller holds the ending
// signals back, so that an interrupted build cleans up before the signal
// ends zemuc.
std::variant<BuiltProgram, int> translate_and_build(
    const Command& command, const std::string& source, const Names& names,
    const std::string& executable, const std::string& scratch,
    Reporter& reporter);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_BUILT_H_
