#include "front/fault_report.h"

#include <cerrno>
#include <cstring>

#include "explain/fault.h"
#include "explain/report.h"

namespace zemuc {

void tell_fault(std::string_view c_file, const Program& program,
                const CopyMap& map,
                std::span<const explain::ValueMissing> values_missing,
                const std::string& report, const FileWriter& write,
                Reporter& reporter) {
  const std::string kept =
      c_file.empty()
          ? ""
          : std::string(c_file.substr(0, c_file.size() - 2)) + ".report.txt";
  const bool keeps = !kept.empty() && write(kept, report);
  const int error = errno;
  reporter.write(explain::explain_fault(
      program, map, explain::read_sanitizer_report(report), keeps ? kept : "",
      reporter.language(), reporter.terminal(), values_missing));
  if (!keeps && !kept.empty()) {
    reporter.error({"検査の報告を {} に残せません: {}",
                    "cannot keep the checks' report as {}: {}"},
                   {kept, std::strerror(error)});
  }
}

}  // namespace zemuc
