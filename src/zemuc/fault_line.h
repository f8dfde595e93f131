// The line where a fault stopped a program built without checks: the
// program notes the faulting instruction's address (program/plain_frame.h)
// and a tool that reads debug information, addr2line or llvm-symbolizer,
// says which line of the source the compiler made it from.
#ifndef ZEMUC_ZEMUC_FAULT_LINE_H_
#define ZEMUC_ZEMUC_FAULT_LINE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "program/program.h"
#include "text/encoding.h"
#include "text/language.h"

namespace zemuc {

// What a run needs to learn a fault's line: the tool, the program (kept
// until the run has been told) and the file the program notes a fault in.
struct FaultWatch {
  std::string tool;   // full path
  bool llvm = false;  // llvm-symbolizer, which also says the column
  std::string program;
  std::string report;
};

// Nothing where no line can be learned so: a checked program, whose checks
// name the line, a machine the watch is not made for, no tool on PATH.
std::optional<FaultWatch> fault_watch(bool checked, const std::string& program,
                                      const std::string& folder);

// `settings` with the variable that starts the program's watch, when
// there is a watch.
std::vector<std::string> with_fault_watch(
    std::vector<std::string> settings, const std::optional<FaultWatch>& watch);

// The fault that ended the program by `signal`, told on its source line;
// empty when its line cannot be learned (no note, no debug information, an
// address outside the learner's lines), for it to be told without one.
std::string tell_fault_line(const FaultWatch& watch, const Program& program,
                            int signal, Language language, Encoding terminal);

// The address a tool is asked about, from the program's note: the faulting
// instruction's, less the load address for a program that is position
// independent (`relocatable`). Nothing for a note that is not whole.
std::optional<std::uint64_t> fault_address(std::string_view note,
                                           bool relocatable);

// The file and line a tool's answer names (addr2line "FILE:LINE", perhaps
// with " (discriminator N)"; llvm-symbolizer "FILE:LINE:COLUMN"), or
// nothing when it knows none ("??:0").
struct ToolPlace {
  std::string file;
  std::size_t line = 0;
};
std::optional<ToolPlace> tool_place(std::string_view answer, bool llvm);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_FAULT_LINE_H_
