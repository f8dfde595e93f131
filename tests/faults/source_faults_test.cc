// A source that cannot be read, at the start or between the two passes,
// ends the run with status 8 and the source's name on the console, and
// leaves no output file behind.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "faults/expect.h"

namespace zemuc::testing {
namespace {

namespace fs = std::filesystem;

TEST(SourceFaults, UnreadableSourceFailsWithItsName) {
  struct Case {
    const char* label;
    void (*make)(const ScratchDir& dir);
  };
  const Case cases[] = {
      {"a folder",
       [](const ScratchDir& dir) {
         fs::create_directory(dir.path() / "a.zem");
       }},
      {"a link to nothing",
       [](const ScratchDir& dir) {
         fs::create_symlink("gone.zem", dir.path() / "a.zem");
       }},
      {"a link to a folder",
       [](const ScratchDir& dir) {
         fs::create_directory(dir.path() / "sub");
         fs::create_symlink("sub", dir.path() / "a.zem");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchDir dir;
    c.make(dir);
    const RunResult r = run_translator({"a.zem"}, dir.path());
    expect_failure_on(r, "a.zem");
    // Nothing was read, so nothing was dumped and nothing written.
    EXPECT_EQ(r.out.find(sjis("a.zem を読みゆう．")), std::string::npos);
    EXPECT_EQ(r.out.find("dump"), std::string::npos);
    EXPECT_FALSE(dir.exists("a.c"));
  }
}

// Runs the translator on `source` in `dir` and deletes the source while the
// translator waits on a full console pipe in the middle of its table dump,
// that is after the declaration pass and before the generation pass. The
// translator writes nothing to the pipe before its console buffer fills, and
// the dump alone is far larger than the pipe and that buffer together.
RunResult run_deleting_source_between_passes(const ScratchDir& dir,
                                             const std::string& source) {
  StartedProgram translator =
      start_program(ZEMUCFILTER_PATH, {source}, dir.path(), false);
  close(translator.in);
  RunResult result;
  pollfd readable = {translator.out, POLLIN, 0};
  // A generous bound: a slow sanitizer build must not turn into a hang.
  EXPECT_EQ(poll(&readable, 1, 120'000), 1) << "no console output at all";
  fs::remove(dir.path() / source);
  char buffer[65536];
  ssize_t n;
  while ((n = read(translator.out, buffer, sizeof buffer)) > 0) {
    result.out.append(buffer, static_cast<std::size_t>(n));
  }
  close(translator.out);
  result.status = wait_for_exit(translator.pid);
  return result;
}

TEST(SourceFaults, SourceVanishingBetweenPassesFails) {
  ScratchDir dir;
  // About 2 MB of dump: one line of some 36 bytes per variable.
  std::string source;
  for (int i = 1; i <= 60'000; ++i) {
    source += sjis("数") + "v" + std::to_string(i) + "=1;\n";
  }
  dir.write("a.zem", source);
  const RunResult r = run_deleting_source_between_passes(dir, "a.zem");
  expect_failure_on(r, "a.zem");
  // The whole dump came out before the generation pass found no source.
  EXPECT_NE(r.out.find(sjis("name=数v60000  var=nn60000  prop=N\n")),
            std::string::npos);
  EXPECT_NE(r.out.find(sjis("a.c へ書きゆう．\n")), std::string::npos);
  EXPECT_FALSE(dir.exists("a.zem"));
  EXPECT_FALSE(dir.exists("a.c"));
}

}  // namespace
}  // namespace zemuc::testing
