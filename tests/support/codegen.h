// Generating C text line by line in memory, without the executable: the
// declaration scan over one list of source lines, then the generators over
// another, each line dispatched as the generation pass does.
#ifndef ZEMUC_TESTS_SUPPORT_CODEGEN_H_
#define ZEMUC_TESTS_SUPPORT_CODEGEN_H_

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "codegen/context.h"

namespace zemuc::testing {

// Source lines in readable UTF-8, each exactly as read, line feed included.
using Lines = std::vector<std::string>;

struct Generated {
  std::string text;  // the C text written, Shift-JIS
  int status = 0;    // the status of the last line generated
};

class CodegenRun {
 public:
  // Declares what `declared` names, as the declaration pass would.
  explicit CodegenRun(const Lines& declared);

  // Dispatches each line in turn and returns what these lines wrote. Stops
  // at the first line whose generator fails, as the driver does.
  Generated generate(const Lines& lines);

  Context& context() { return ctx_; }

 private:
  void load(std::string_view utf8_line);
  Context ctx_;
  std::string raw_;  // the Shift-JIS line that ctx_.raw shows
};

// One row of a table-driven generator test: the lines generated and the C
// text they must write, with status 0.
struct GenCase {
  const char* what;
  Lines lines;
  const char* expected;
};

// Checks every case on a fresh run that first declared `declared`.
void expect_generated(const Lines& declared, const std::vector<GenCase>& cases);

// Both passes over the same lines: a whole program translated in memory.
Generated translate_lines(const Lines& lines);

// Passes when the Shift-JIS bytes `actual` are exactly `expected_utf8` in
// Shift-JIS; a failure shows both sides readable, with tabs and line feeds
// escaped.
::testing::AssertionResult SameSjis(std::string_view actual,
                                    std::string_view expected_utf8);

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_SUPPORT_CODEGEN_H_
