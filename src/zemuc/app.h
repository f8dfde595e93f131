// zemuc from its command line to its exit status.
#ifndef ZEMUC_ZEMUC_APP_H_
#define ZEMUC_ZEMUC_APP_H_

#include <span>

#include "front/statuses.h"

namespace zemuc {

// Exit statuses of zemuc's own, beside those of front/statuses.h.
inline constexpr int kExitFindings = 1;  // zemuc check found something
inline constexpr int kExitUsage = 2;

// `args` are the arguments after the program name. Returns the exit status:
// for run, the program's own, or kExitCheckFailed when a run-time check
// stopped it; for check, 0 or kExitFindings, or kExitUsage when the source
// cannot be read.
int run_zemuc(std::span<const char* const> args);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_APP_H_
