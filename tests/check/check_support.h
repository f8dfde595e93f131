// Checking sources written in readable UTF-8, and showing findings
// readably when a test fails.
#ifndef ZEMUC_TESTS_ZEMUC_CHECK_SUPPORT_H_
#define ZEMUC_TESTS_ZEMUC_CHECK_SUPPORT_H_

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "support/sjis.h"

namespace zemuc::check {

// Findings print as "LINE:COLUMN problem [subject]", subject in UTF-8.
inline void PrintTo(const Finding& f, std::ostream* os) {
  *os << f.line << ':' << f.column << " problem " << static_cast<int>(f.problem)
      << " [" << testing::utf8(f.subject) << ']';
}

}  // namespace zemuc::check

namespace zemuc::testing {

// The findings of a source written in UTF-8.
inline std::vector<check::Finding> check_utf8(std::string_view source) {
  return check::check_source(sjis(source));
}

// A finding as a test expects it, subject in UTF-8.
inline check::Finding finding(std::size_t line, std::size_t column,
                              check::Problem problem,
                              std::string_view subject = "") {
  return {line, column, problem, sjis(subject)};
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_ZEMUC_CHECK_SUPPORT_H_
