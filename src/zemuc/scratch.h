// The scratch folder of a run or a build, where TMPDIR puts it: whether a
// run can use it, and what the checks of the program report there.
#ifndef ZEMUC_ZEMUC_SCRATCH_H_
#define ZEMUC_ZEMUC_SCRATCH_H_

#include <optional>
#include <string>
#include <vector>

#include "front/reporter.h"
#include "sys/disk.h"

namespace zemuc {

// A new scratch folder, or nothing after a report that names where it was
// to be made.
std::optional<ScratchFolder> scratch_folder(Reporter& reporter);

// Whether the scratch folder serves a run: the program may run there, and
// with `checks` the sanitizers can be told to report there; false after a
// report that says what to do.
bool serves_a_run(const std::string& folder, bool checks, Reporter& reporter);

// Tells why the built program could not start (`error`, an errno): a
// folder that lets no program run is named with what to do.
void tell_not_started(int error, Reporter& reporter);

// The settings of a program's environment by which its checks report into
// `folder`: the sanitizers' (`sanitizers`), and the frame's own checks'
// (`reports`).
std::vector<std::string> check_settings(bool sanitizers, bool reports,
                                        const std::string& folder);

// What the checks of a run wrote, every file of it in the order of their
// names; empty when they wrote nothing.
std::string reports_in(const std::string& folder);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_SCRATCH_H_
