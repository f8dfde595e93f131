// Starting programs and waiting for them: every way a child can end is
// told apart, and a failure is never taken for an exit status.
#include "sys/process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>

#include "sys/disk.h"
#include "sys/pty.h"

namespace zemuc {
namespace {

TEST(RunAndCapture, HowTheChildEnded) {
  const struct {
    std::vector<std::string> argv;
    Ended ended;
    std::string output;
  } cases[] = {
      {{"/bin/sh", "-c", "echo out; echo err >&2"}, {0, 0}, "out\nerr\n"},
      {{"/bin/sh", "-c", "exit 3"}, {3, 0}, ""},
      {{"/bin/sh", "-c", "kill -TERM $$"}, {128 + SIGTERM, SIGTERM}, ""},
      // Its input is empty, not zemuc's.
      {{"/bin/sh", "-c", "cat; echo end"}, {0, 0}, "end\n"},
  };
  for (const auto& c : cases) {
    const Captured captured = run_and_capture(c.argv);
    ASSERT_TRUE(captured.ended) << c.argv.back();
    EXPECT_EQ(captured.ended->status, c.ended.status) << c.argv.back();
    EXPECT_EQ(captured.ended->signal, c.ended.signal) << c.argv.back();
    EXPECT_EQ(captured.output, c.output);
  }
  const Captured missing = run_and_capture({"/nonexistent/cc"});
  EXPECT_FALSE(missing.ended);
  EXPECT_EQ(missing.error, ENOENT);
}

// A command that outlives its limit is ended, its group with it, and the
// capture fails rather than waiting on.
TEST(RunAndCapture, ALimitEndsACommandThatHangs) {
  using namespace std::chrono_literals;
  const auto start = std::chrono::steady_clock::now();
  const Captured captured =
      run_and_capture({"/bin/sh", "-c", "sleep 30 & sleep 30"}, {}, {}, 200ms);
  EXPECT_FALSE(captured.ended);
  EXPECT_EQ(captured.error, ETIMEDOUT);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

// A case of an exercise runs with its input file, in its own folder, and
// a program that writes without end is ended at the most it may write.
TEST(RunAndCapture, InputFolderAndMostOutput) {
  using namespace std::chrono_literals;
  const std::string folder = ::testing::TempDir() + "capture_setup";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(write_whole_file(folder + "/input", "typed\n"));
  const Captured read = run_and_capture({"/bin/sh", "-c", "cat; ls"}, {}, {},
                                        20s, {folder + "/input", folder});
  EXPECT_EQ(read.output, "typed\ninput\n");
  const Captured flood =
      run_and_capture({"/bin/sh", "-c", "yes"}, {}, {}, 20s, {"", "", 4096});
  EXPECT_FALSE(flood.ended);
  EXPECT_EQ(flood.error, EFBIG);
  EXPECT_LT(flood.output.size(), 4096u + 65536u);
  std::filesystem::remove_all(folder);
}

TEST(WaitFor, NoChildIsAFailureNotAnEnding) {
  errno = 0;
  EXPECT_FALSE(wait_for(::getpid()));
  EXPECT_EQ(errno, ECHILD);
}

TEST(StartOnPty, AProgramThatCannotRunLeavesNoChild) {
  sigset_t none;
  sigemptyset(&none);
  errno = 0;
  EXPECT_FALSE(start_on_pty(
      "/nonexistent/program", nullptr, [](termios&) {}, none));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

}  // namespace
}  // namespace zemuc
