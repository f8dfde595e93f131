// zemuc run with its scratch folder where TMPDIR puts it: a name that the
// sanitizers' options would split, a folder where no program may run, and
// one that is not there.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run.h"
#include "zemuc/run_zemuc.h"

namespace zemuc::testing {
namespace {

namespace fs = std::filesystem;

const char* const kDivide =
    "はじめ\n\t打つ(数a,数b);\n\t数c=数a/数b;\n\t見る(\"c\",数c);\nおわり\n";

bool installed(const std::string& program) {
  return run_program("/bin/sh", {"-c", "command -v " + program}, "", ".")
             .status == 0;
}

// The checks still report to zemuc, and nothing is left in the folder.
TEST(ZemucScratchFolder, NamesThatTheSanitizersOptionsWouldSplit) {
  for (const char* cc : {"gcc", "clang", "clang-19"}) {
    if (!installed(cc)) continue;
    for (const char* name : {"a b:c,d", "it's\ta:b"}) {
      SCOPED_TRACE(std::string(cc) + " in " + name);
      ScratchDir dir;
      dir.write("p.zem", kDivide);
      const fs::path tmp = dir.path() / name;
      fs::create_directory(tmp);
      const RunResult r =
          run_zemuc({"run", "p.zem"}, dir.path(), "7\n0\n",
                    {"CC=" + std::string(cc), "TMPDIR=" + tmp.string()});
      EXPECT_EQ(r.status, 70) << r.err;
      EXPECT_TRUE(r.err.starts_with("p.zem:3:")) << r.err;
      EXPECT_NE(r.err.find("division by zero"), std::string::npos) << r.err;
      EXPECT_TRUE(fs::is_empty(tmp));
    }
  }
}

// A file system mounted noexec here, unmounted when the test ends; empty
// where mounting is not permitted.
class NoExecMount {
 public:
  explicit NoExecMount(const fs::path& at) : at_(at) {
    fs::create_directory(at);
    mounted_ = ::mount("tmpfs", at.c_str(), "tmpfs", MS_NOEXEC, nullptr) == 0;
  }
  ~NoExecMount() {
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }

 private:
  fs::path at_;
  bool mounted_ = false;
};

// The folder is named with what to do, and nothing is blamed on the
// checks; a build, whose program does not run there, is not stopped.
TEST(ZemucScratchFolder, FolderWhereProgramsMayNotRunOrNoFolderAtAll) {
  ScratchDir dir;
  dir.write("ok.zem", "はじめ\n\t見る(\"x\");\nおわり\n");
  const NoExecMount noexec(dir.path() / "noexec");
  if (!noexec.mounted()) GTEST_SKIP() << "mounting a file system is denied";
  const std::string at = dir.path().string();
  const struct {
    std::vector<std::string> args;
    std::string tmpdir;
    int status;
    std::string err;
  } cases[] = {
      {{"run", "ok.zem"},
       "noexec",
       1,
       "zemuc: programs may not run in " + at +
           "/noexec (it is mounted noexec); set TMPDIR to a folder where "
           "they may\n"},
      {{"run", "--no-checks", "ok.zem"},
       "noexec",
       1,
       "zemuc: programs may not run in " + at +
           "/noexec (it is mounted noexec); set TMPDIR to a folder where "
           "they may\n"},
      {{"build", "ok.zem"}, "noexec", 0, ""},
      {{"build", "-o", "noexec/p", "ok.zem"}, "", 0, ""},
      {{"run", "ok.zem"},
       "none",
       1,
       "zemuc: the folder for scratch files " + at +
           "/none does not exist; set TMPDIR to a folder that does\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[1] + " " + c.args.back() + " in " + c.tmpdir);
    std::vector<std::string> environment;
    if (!c.tmpdir.empty()) environment = {"TMPDIR=" + at + "/" + c.tmpdir};
    const RunResult r = run_zemuc(c.args, dir.path(), "x\n", environment);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    fs::remove(dir.path() / "noexec/p");
    EXPECT_TRUE(fs::is_empty(dir.path() / "noexec"));
  }
}

}  // namespace
}  // namespace zemuc::testing
