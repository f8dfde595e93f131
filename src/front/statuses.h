// The statuses zemuc run and build exit with for what their steps find,
// which the playground answers with too.
#ifndef ZEMUC_FRONT_STATUSES_H_
#define ZEMUC_FRONT_STATUSES_H_

#include "driver/memory_translation.h"  // kStatusFailed
#include "program/copy.h"               // kCheckFailedStatus

namespace zemuc {

// The program does not build, or nothing to build it with is there.
inline constexpr int kExitBuildFailed = 1;
// The source does not translate: zemucfilter's own status for that.
inline constexpr int kExitTranslationFailed = kStatusFailed;
// run: the program was stopped by a run-time check, and ended with the
// status the checked program's frame gives it.
inline constexpr int kExitCheckFailed = kCheckFailedStatus;

}  // namespace zemuc

#endif  // ZEMUC_FRONT_STATUSES_H_
