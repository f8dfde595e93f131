// An output that cannot be written, or that is the source by another name,
// must end the run with status 8 and the output's name on the console,
// never with the success text. Tests run as root, so every case is made
// with links and folders, not permissions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "faults/expect.h"

namespace zemuc::testing {
namespace {

namespace fs = std::filesystem;

std::string small_source() {
  return sjis("はじめ\n\t数a=1;\n\t見る(\"a\",数a);\nおわり\n");
}

// More C text than the translator's output buffer holds, so a full disk
// shows on a write in the middle of the run and not only at the close.
std::string large_source() {
  std::string source = sjis("はじめ\n");
  const std::string line = sjis("\t見る(\"合計\",数a);\n");
  while (source.size() < 256 * 1024) source += line;
  return source + sjis("おわり\n");
}

struct OutputCase {
  const char* label;
  std::string (*source)();
  // Turns the output name a.c in `dir` into something that cannot take it.
  void (*spoil)(const fs::path& dir);
};

const OutputCase kOutputCases[] = {
    {"full disk, failure at the close", small_source,
     [](const fs::path& dir) { fs::create_symlink("/dev/full", dir / "a.c"); }},
    {"full disk, failure in the middle", large_source,
     [](const fs::path& dir) { fs::create_symlink("/dev/full", dir / "a.c"); }},
    {"its folder is missing", small_source,
     [](const fs::path& dir) {
       fs::create_symlink("missing/a.c", dir / "a.c");
     }},
    {"its folder is a file", small_source,
     [](const fs::path& dir) {
       std::ofstream(dir / "plain") << "x";
       fs::create_symlink("plain/a.c", dir / "a.c");
     }},
    {"it is a folder", small_source,
     [](const fs::path& dir) { fs::create_directory(dir / "a.c"); }},
    // The source itself by another name: emptying it would lose it.
    {"a link to the source", small_source,
     [](const fs::path& dir) { fs::create_symlink("a.zem", dir / "a.c"); }},
    {"a hard link to the source", small_source,
     [](const fs::path& dir) {
       fs::create_hard_link(dir / "a.zem", dir / "a.c");
     }},
    {"a link to the source through a linked folder", large_source,
     [](const fs::path& dir) {
       fs::create_directory_symlink(".", dir / "here");
       fs::create_symlink("here/./a.zem", dir / "a.c");
     }},
};

TEST(OutputFaults, UnwritableOutputFailsWithItsName) {
  for (const OutputCase& c : kOutputCases) {
    SCOPED_TRACE(c.label);
    ScratchDir dir;
    dir.write("a.zem", c.source());
    c.spoil(dir.path());
    const RunResult r = run_translator({"a.zem"}, dir.path());
    expect_failure_on(r, "a.c");
    EXPECT_EQ(dir.read("a.zem"), c.source());
    // The declaration pass ran to its end before the output was opened.
    EXPECT_NE(r.out.find(sjis("a.c へ書きゆう．\n")), std::string::npos);
  }
}

}  // namespace
}  // namespace zemuc::testing
