// What every end-to-end fault test checks about a run: its status and how
// the console dialogue ends.
#ifndef ZEMUC_TESTS_FAULTS_EXPECT_H_
#define ZEMUC_TESTS_FAULTS_EXPECT_H_

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/run.h"
#include "support/sjis.h"

namespace zemuc::testing {

inline std::string success_text() { return sjis("cに書き換えたきね．\n"); }

inline std::string failure_text() {
  return sjis("ちゃんと，約束を見ちゅう？　見直し，しとおせ．\n");
}

inline bool ends_with(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         text.substr(text.size() - end.size()) == end;
}

// The run failed because `name` could not be read or written: status 8,
// the driver's message about that name, then the failure text.
inline void expect_failure_on(const RunResult& r, const std::string& name) {
  EXPECT_EQ(r.status, 8);
  EXPECT_TRUE(ends_with(r.out, name + sjis(" なんて無いぜ．\n") +
                                   failure_text()))
      << utf8(r.out.substr(r.out.size() > 400 ? r.out.size() - 400 : 0));
  EXPECT_EQ(r.out.find(success_text()), std::string::npos);
  EXPECT_EQ(r.err, "");
}

inline void expect_success(const RunResult& r) {
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(ends_with(r.out, success_text()))
      << utf8(r.out.substr(r.out.size() > 400 ? r.out.size() - 400 : 0));
  EXPECT_EQ(r.err, "");
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_FAULTS_EXPECT_H_
