// zemuc from its command line to its exit status.
#ifndef ZEMUC_ZEMUC_APP_H_
#define ZEMUC_ZEMUC_APP_H_

#include <span>

#include "driver/memory_translation.h"  // kStatusFailed
#include "program/copy.h"               // kCheckFailedStatus

namespace zemuc {

// Exit statuses of zemuc's own.
inline constexpr int kExitBuildFailed = 1;
inline constexpr int kExitFindings = 1;  // zemuc check found something
inline constexpr int kExitUsage = 2;
// The source does not translate: zemucfilter's own status for that.
inline constexpr int kExitTranslationFailed = kStatusFailed;
// run: the program was stopped by a run-time check, and ended with the
// status the checked program's frame gives it.
inline constexpr int kExitCheckFailed = kCheckFailedStatus;

// `args` are the arguments after the program name. Returns the exit status:
// for run, the program's own, or kExitCheckFailed when a run-time check
// stopped it; for check, 0 or kExitFindings, or kExitUsage when the source
// cannot be read.
int run_zemuc(std::span<const char* const> args);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_APP_H_
