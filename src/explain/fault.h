// How a run went wrong, told in the learner's terms: a run-time check that
// stopped the program, on its source line with the variable it concerns,
// and a signal that ended it, in plain words.
#ifndef ZEMUC_FAULT_H_
#define ZEMUC_FAULT_H_

#include <span>
#include <string>
#include <string_view>

#include "explain/explain.h"
#include "explain/report.h"
#include "program/copy.h"
#include "program/program.h"
#include "text/encoding.h"
#include "text/language.h"

namespace zemuc::explain {

// One message for the terminal about the report of a checked run of the
// program the copy `map` describes; `kept_at` names the file that keeps
// the whole report, or is empty when none could be kept. Where the build
// warned that a variable on the fault's line is used before it gets a
// value (`values_missing`), the message says so as the likely cause.
std::string explain_fault(const Program& program, const CopyMap& map,
                          const SanitizerReport& report,
                          std::string_view kept_at, Language language,
                          Encoding terminal,
                          std::span<const ValueMissing> values_missing = {});

// What a signal that ended the program means, as "zemuc: TEXT" and a line
// end; empty for an interrupt (Ctrl-C), which the user asked for. Without
// checks the message says that they would name the line, where the
// compiler can build them (`checks_possible`).
std::string explain_signal(int signal, bool checked, Language language,
                           Encoding terminal, bool checks_possible = true);

// The same fault told on source line `line` of the program, as a
// diagnostic at the line's statement: where a run without checks learned
// the line from the program's debug information. Empty for a line that
// is not the source's.
std::string explain_signal_at(const Program& program, int signal,
                              std::size_t line, Language language,
                              Encoding terminal);

}  // namespace zemuc::explain

#endif  // ZEMUC_FAULT_H_
