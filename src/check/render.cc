// Showing findings as compilers show their messages, with the line each
// names.
#include <string>

#include "check/messages.h"
#include "io/line_reader.h"
#include "text/diagnostic.h"

namespace zemuc::check {

std::string render_finding(std::string_view file_name,
                           std::string_view sjis_line, const Finding& finding,
                           Language language, Encoding terminal) {
  return render_diagnostic(file_name, finding.line, finding.column, "warning",
                           finding_text(finding, language), sjis_line,
                           terminal);
}

std::string render_findings(std::string_view file_name,
                            std::string_view sjis_source,
                            const std::vector<Finding>& findings,
                            Language language, Encoding terminal) {
  // The lines are split as check_source split them.
  MemorySource bytes(sjis_source);
  LineReader reader(bytes);
  std::string_view line;
  std::size_t number = 0;
  std::string out;
  for (const Finding& finding : findings) {
    while (number < finding.line &&
           reader.next(line) == LineReader::Result::kLine) {
      ++number;
    }
    if (number != finding.line) line = {};
    out += render_finding(file_name, line, finding, language, terminal);
  }
  return out;
}

}  // namespace zemuc::check
