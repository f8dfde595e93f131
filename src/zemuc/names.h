// The names that zemuc run and build write, and which of them an output
// may never take.
#ifndef ZEMUC_ZEMUC_NAMES_H_
#define ZEMUC_ZEMUC_NAMES_H_

#include <optional>
#include <string>

#include "front/reporter.h"
#include "zemuc/command_line.h"

namespace zemuc {

// The names a build writes: the C file as the translator names it, beside
// a source that is a file (empty: kept in the scratch folder, for a source
// that is a device or a pipe), and for build the program: -o NAME, else
// the C file's name without ".c". run builds its program in a scratch
// folder and needs no name for it.
struct Names {
  std::string c_file;
  std::string program;
};

// The names of `command`, or nothing after a report: a source name too
// short, no program name to be had, or an output that would take the
// place of the source, of the C file or of anything but a regular file.
std::optional<Names> names_for(const Command& command, Reporter& reporter);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_NAMES_H_
