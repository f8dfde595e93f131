// What every end-to-end fault test checks about a run: its status and how
// the console dialogue ends.
#ifndef ZEMUC_TESTS_FAULTS_EXPECT_H_
#define ZEMUC_TESTS_FAULTS_EXPECT_H_

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/expected.h"
#include "support/run.h"
#include "support/sjis.h"

namespace zemuc::testing {

// The last few hundred bytes of the console, readable, for a failure message.
inline std::string console_end(const RunResult& r) {
  return utf8(r.out.substr(r.out.size() > 400 ? r.out.size() - 400 : 0));
}

// The run failed because `name` could not be read or written: status 8,
// the driver's message about that name, then the failure text.
inline void expect_failure_on(const RunResult& r, const std::string& name) {
  EXPECT_EQ(r.status, 8);
  EXPECT_TRUE(
      std::string_view(r.out).ends_with(name + sjis(missing("") + kFailure)))
      << console_end(r);
  EXPECT_EQ(r.out.find(sjis(kSuccess)), std::string::npos);
  EXPECT_EQ(r.err, "");
}

inline void expect_success(const RunResult& r) {
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(std::string_view(r.out).ends_with(sjis(kSuccess)))
      << console_end(r);
  EXPECT_EQ(r.err, "");
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_FAULTS_EXPECT_H_
