// The fault a run-time check stopped a program for, told as zemuc run
// tells it after the run, with the checks' whole report kept.
#ifndef ZEMUC_FRONT_FAULT_REPORT_H_
#define ZEMUC_FRONT_FAULT_REPORT_H_

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "explain/explain.h"
#include "front/reporter.h"
#include "program/copy.h"
#include "program/program.h"

namespace zemuc {

// Writes a file whole; false with errno saying why.
using FileWriter =
    std::function<bool(const std::string& path, std::string_view bytes)>;

// The checks' report is kept for the curious beside the C file `c_file`,
// named as it is with ".report.txt" for ".c" (nowhere for an empty
// name), by `write`; the fault is told with where.
void tell_fault(std::string_view c_file, const Program& program,
                const CopyMap& map,
                std::span<const explain::ValueMissing> values_missing,
                const std::string& report, const FileWriter& write,
                Reporter& reporter);

}  // namespace zemuc

#endif  // ZEMUC_FRONT_FAULT_REPORT_H_
