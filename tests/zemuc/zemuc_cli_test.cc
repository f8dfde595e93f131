// zemuc run and zemuc build through the built executable, with piped
// input; the terminal itself is tested through tmux.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run.h"
#include "support/sjis.h"
#include "zemuc/run_zemuc.h"

namespace zemuc::testing {
namespace {

namespace fs = std::filesystem;

const std::string kTail = "--->何か文字を入れれば終わるよ";
const std::string kNibai =
    "はじめ\n"
    "\t見る(\"数を入れてね\");\n"
    "\t打つ(数a);\n"
    "\t数b=数a*2;\n"
    "\t見る(\"二倍\",数b);\n"
    "\t打つ(字s);\n"
    "\t見る(\"字\",字s);\n"
    "おわり\n";
const std::string kNibaiTyped = "21\n表示ソ\nowari\n";
const std::string kNibaiShown = "数を入れてね\n二倍[42]\n字[表示ソ]\n" + kTail;

std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// What zemucfilter writes for the same program in Shift-JIS.
std::string translated_by_zemucfilter(const std::string& utf8_program) {
  ScratchDir dir;
  dir.write("p.zem", sjis(utf8_program));
  EXPECT_EQ(run_translator({"p.zem"}, dir.path()).status, 0);
  return dir.read("p.c");
}

TEST(ZemucRun, ShowsWhatTheProgramPrintsInTheTerminalsEncoding) {
  ScratchDir dir;
  dir.write("nibai.zem", kNibai);
  const RunResult r = run_zemuc({"run", "nibai.zem"}, dir.path(), kNibaiTyped);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, kNibaiShown);
  EXPECT_EQ(r.err, "");
  // The C file beside the source is the translator's, byte for byte, and
  // the program itself leaves nothing behind.
  EXPECT_EQ(dir.read("nibai.c"), translated_by_zemucfilter(kNibai));
  EXPECT_EQ(entries(dir.path()),
            (std::vector<std::string>{"nibai.c", "nibai.zem"}));
}

TEST(ZemucRun, ShiftJisSourceRunsTheSame) {
  ScratchDir dir;
  dir.write("nibai.zem", sjis(kNibai));
  const RunResult r = run_zemuc({"run", "nibai.zem"}, dir.path(), kNibaiTyped);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, kNibaiShown);
  EXPECT_EQ(dir.read("nibai.c"), translated_by_zemucfilter(kNibai));
}

TEST(ZemucRun, EndOfInputEndsTheProgramsInput) {
  ScratchDir dir;
  dir.write("nibai.zem", kNibai);
  // No input at all: every read meets the end at once.
  RunResult r = run_zemuc({"run", "nibai.zem"}, dir.path(), "");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with("数を入れてね\n")) << r.out;
  EXPECT_TRUE(r.out.ends_with(kTail)) << r.out;
  // A last line without its line end still reaches the program.
  r = run_zemuc({"run", "nibai.zem"}, dir.path(), "21\nabc");
  EXPECT_EQ(r.out, "数を入れてね\n二倍[42]\n字[abc]\n" + kTail);
}

TEST(ZemucRun, ControlCharactersInTheInputReachTheProgramAsTheyAre) {
  ScratchDir dir;
  dir.write("nibai.zem", kNibai);
  const RunResult r = run_zemuc({"run", "nibai.zem"}, dir.path(),
                                "1\na\x03\x04\x16\x1c"
                                "b\nx\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "数を入れてね\n二倍[2]\n字[a\x03\x04\x16\x1c"
            "b]\n" +
                kTail);
}

TEST(ZemucRun, TypedCharacterWithoutShiftJisFormBecomesAQuestionMark) {
  ScratchDir dir;
  dir.write("nibai.zem", kNibai);
  const RunResult r =
      run_zemuc({"run", "nibai.zem"}, dir.path(), "1\ncafé😀\nx\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "数を入れてね\n二倍[2]\n字[caf??]\n" + kTail);
}

// Input that is not a terminal reaches the program whole: no terminal's
// line limit between them.
TEST(ZemucRun, PipedInputArrivesWhole) {
  ScratchDir dir;
  dir.write("count.zem",
            "はじめ\n"
            "\t数n=0;\n"
            "\twhile(getchar()>=32){\n"
            "\t\t数n=数n+1;\n"
            "\t}\n"
            "\t見る(\"n\",数n);\n"
            "おわり\n");
  const RunResult r = run_zemuc({"run", "count.zem"}, dir.path(),
                                std::string(10000, 'a') + "\nx\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "n[10000]\n" + kTail);
}

// A source that is no file (a device) has no folder of its own to write
// beside: its C file stays in the scratch folder.
TEST(ZemucRun, ADeviceSourceWritesNothingBesideIt) {
  ScratchDir dir;
  fs::create_symlink("/dev/null", dir.path() / "dev.zem");
  const RunResult r = run_zemuc({"run", "dev.zem"}, dir.path());
  EXPECT_EQ(r.status, 1) << r.err;  // empty: no はじめ, so it does not build
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"dev.zem"});
}

TEST(ZemucRun, LongOutputArrivesWhole) {
  ScratchDir dir;
  dir.write("many.zem",
            "はじめ\n"
            "\t数i=0;\n"
            "\tくり返し(50000){\n"
            "\t\t見る(\"行\",数i);\n"
            "\t\t数i=数i+1;\n"
            "\t}\n"
            "おわり\n");
  const RunResult r = run_zemuc({"run", "many.zem"}, dir.path(), "x\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 50000);
  EXPECT_TRUE(r.out.ends_with("行[49999]\n" + kTail));
}

TEST(ZemucBuild, LeavesTheProgramBesideTheSource) {
  ScratchDir dir;
  dir.write("nibai.zem", kNibai);
  RunResult r = run_zemuc({"build", "nibai.zem"}, dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out + r.err, "");
  EXPECT_EQ(entries(dir.path()),
            (std::vector<std::string>{"nibai", "nibai.c", "nibai.zem"}));
  EXPECT_EQ(access((dir.path() / "nibai").c_str(), X_OK), 0);
  // The program itself speaks Shift-JIS.
  r = run_program((dir.path() / "nibai").string(), {}, sjis(kNibaiTyped),
                  dir.path());
  EXPECT_EQ(r.out, sjis(kNibaiShown));

  fs::create_directory(dir.path() / "bin");
  r = run_zemuc({"build", "-o", "bin/doubler", "nibai.zem"}, dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(entries(dir.path() / "bin"), std::vector<std::string>{"doubler"});
}

TEST(ZemucBuild, RejectedLineIsToldWithItsPlaceAndWritesNothing) {
  ScratchDir dir;
  dir.write("p.zem", "はじめ\n\t見る();\nおわり\n");
  dir.write("p.c", "kept");
  const RunResult r = run_zemuc({"build", "p.zem"}, dir.path());
  EXPECT_EQ(r.status, 8);
  // The check has said so first.
  EXPECT_TRUE(r.err.starts_with("p.zem:2:5: warning: there is nothing to show"))
      << r.err;
  EXPECT_TRUE(r.err.ends_with("\np.zem:2: 次の行おかしい: 見る();\n")) << r.err;
  EXPECT_EQ(dir.read("p.c"), "kept");
  EXPECT_FALSE(dir.exists("p"));
}

TEST(ZemucBuild, CompilerErrorsAreShownReadable) {
  ScratchDir dir;
  // A variable right after 見る makes the keyword a label: no C builds.
  dir.write("p.zem", "はじめ\n\t見る(数a);\nおわり\n");
  const RunResult r = run_zemuc({"build", "p.zem"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("見る"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("zemuc: p.zem does not build ("), std::string::npos)
      << r.err;
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"p.c", "p.zem"}));
}

// Each bad case: a clear message, a status other than 0, nothing half
// written.
TEST(ZemucBuild, BadInputIsRefusedClearly) {
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::vector<std::string> environment;
    int status;
    std::string message;
  } cases[] = {
      {"missing source",
       {"build", "nai.zem"},
       {},
       8,
       "zemuc: cannot read nai.zem: No such file or directory\n"},
      {"a folder",
       {"build", "folder.zem"},
       {},
       8,
       "zemuc: cannot read folder.zem: Is a directory\n"},
      {"no Shift-JIS form",
       {"build", "cafe.zem"},
       {},
       8,
       "cafe.zem:1:8: error: 'é' (U+00E9) has no Shift-JIS form; write it "
       "another way\n"},
      {"neither encoding",
       {"build", "bytes.zem"},
       {},
       8,
       "bytes.zem:2:1: error: the source is neither UTF-8 nor Shift-JIS here "
       "(byte 0x80)\n"},
      {"no compiler",
       {"build", "ok.zem"},
       {"PATH=/nonexistent"},
       1,
       "zemuc: the C compiler gcc is not found; install it with 'apt-get "
       "install gcc', or set CC to another\n"},
      {"no compiler in CC",
       {"build", "ok.zem"},
       {"CC=no-such-cc -O2"},
       1,
       "zemuc: the C compiler no-such-cc (from $CC) is not found\n"},
      {"no folder for the program",
       {"build", "-o", "none/p", "ok.zem"},
       {},
       1,
       "zemuc: cannot write none/p: No such file or directory\n"},
      {"no converter in the C library",
       {"build", "ok.zem"},
       {"LD_PRELOAD=" NO_ICONV_PATH, "ASAN_OPTIONS=verify_asan_link_order=0"},
       1,
       "zemuc: cannot convert text: the C library cannot convert from UTF-8 "
       "to CP932 (iconv: Invalid argument); its gconv modules are missing\n"},
      {"short name",
       {"build", ".c"},
       {},
       2,
       "zemuc: .c is too short a name for a source; name it PROGRAM.zem\n"},
      // An output never takes the place of the source, or of anything
      // but a regular file.
      {"the source as the program",
       {"build", "-o", "ok.zem", "ok.zem"},
       {},
       2,
       "zemuc: cannot write ok.zem: it is the source ok.zem itself\n"},
      {"the source by another name",
       {"build", "-o", "same.zem", "ok.zem"},
       {},
       2,
       "zemuc: cannot write same.zem: it is the source ok.zem itself\n"},
      {"the C file a link to the source",
       {"run", "loop.zem"},
       {},
       2,
       "zemuc: cannot write loop.c: it is the source loop.zem itself\n"},
      {"the C file as the program",
       {"build", "-o", "ok.c", "ok.zem"},
       {},
       2,
       "zemuc: cannot write ok.c: it is the C file ok.c that the build "
       "writes\n"},
      {"the C file by another name",
       {"build", "-o", "folder.zem/../ok.c", "ok.zem"},
       {},
       2,
       "zemuc: cannot write folder.zem/../ok.c: it is the C file ok.c that "
       "the build writes\n"},
      {"a device as the program",
       {"build", "-o", "null", "ok.zem"},
       {},
       2,
       "zemuc: cannot write null: it is not a regular file (a device, a "
       "folder or a FIFO)\n"},
      {"a FIFO as the program",
       {"build", "-o", "fifo", "ok.zem"},
       {},
       2,
       "zemuc: cannot write fifo: it is not a regular file (a device, a "
       "folder or a FIFO)\n"},
      // A compiler that ends well but writes no program.
      {"a compiler that writes nothing",
       {"build", "ok.zem"},
       {"CC=/bin/true"},
       1,
       "zemuc: /bin/true wrote no program (it ended with status 0, but ok "
       "is no program that can run)\n"},
      {"a compiler that only checks",
       {"build", "ok.zem"},
       {"CC=/usr/bin/gcc -fsyntax-only"},
       1,
       "zemuc: /usr/bin/gcc wrote no program (it ended with status 0, but ok "
       "is no program that can run)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    fs::create_directory(dir.path() / "folder.zem");
    dir.write("cafe.zem", "見る(\"café\")\n");
    dir.write("bytes.zem", "abc\n\x80\n");
    dir.write("ok.zem", "はじめ\n数a=1;\nおわり\n");
    fs::create_hard_link(dir.path() / "ok.zem", dir.path() / "same.zem");
    fs::create_symlink("ok.zem", dir.path() / "loop.zem");
    fs::create_symlink("loop.zem", dir.path() / "loop.c");
    fs::create_symlink("/dev/null", dir.path() / "null");
    ASSERT_EQ(mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    const auto before = entries(dir.path());
    const RunResult r = run_zemuc(c.args, dir.path(), "", c.environment);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(dir.read("ok.zem"), "はじめ\n数a=1;\nおわり\n");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "null"));
    EXPECT_TRUE(fs::is_fifo(dir.path() / "fifo"));
    // At most the complete C file is new.
    for (const std::string& name : entries(dir.path())) {
      if (name == "ok.c") continue;
      EXPECT_NE(std::find(before.begin(), before.end(), name), before.end())
          << name;
    }
  }
}

// A source named ".zem" leaves no program name: run needs none, build asks
// for one and takes it.
TEST(ZemucBuild, SourceNamedOnlyByItsExtension) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "d");
  dir.write("d/.zem", "はじめ\n\t見る(\"x\");\nおわり\n");
  RunResult r = run_zemuc({"run", "d/.zem"}, dir.path(), "w\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "x\n" + kTail);
  r = run_zemuc({"build", "d/.zem"}, dir.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "zemuc: no program name can be made from d/.zem; give one with "
            "-o\n");
  r = run_zemuc({"build", "-o", "d/x", "d/.zem"}, dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(dir.exists("d/x"));
}

// The longest names a folder takes: a source whose C file's name fits
// runs and builds, and leaves nothing beside it but what it makes.
TEST(ZemucBuild, LongestSourceNames) {
  for (const std::size_t length : {244, 255}) {
    SCOPED_TRACE(length);
    ScratchDir dir;
    const std::string stem(length - 4, 'n');
    dir.write(stem + ".zem", "はじめ\n\t見る(\"x\");\nおわり\n");
    RunResult r = run_zemuc({"run", stem + ".zem"}, dir.path(), "w\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "x\n" + kTail);
    r = run_zemuc({"build", stem + ".zem"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(entries(dir.path()),
              (std::vector<std::string>{stem, stem + ".c", stem + ".zem"}));
  }
}

TEST(ZemucBuild, UnwritableFolderForTheProgram) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "src");
  fs::create_directory(dir.path() / "locked");
  dir.write("src/ok.zem", "はじめ\n数a=1;\nおわり\n");
  fs::permissions(dir.path(), fs::perms::all);
  fs::permissions(dir.path() / "src", fs::perms::all);
  fs::permissions(dir.path() / "src/ok.zem", fs::perms::all);
  fs::permissions(dir.path() / "locked",
                  fs::perms::owner_read | fs::perms::owner_exec |
                      fs::perms::others_read | fs::perms::others_exec);
  // Permissions do not bind root: the build then runs as nobody, with a
  // copy of zemuc and its run-time file that nobody can reach (the build
  // tree may lie in a private folder).
  RunResult r;
  if (geteuid() == 0) {
    const fs::path tool = dir.path() / "tool";
    const fs::path share = tool / "share/zemucfilter";
    fs::create_directories(share);
    fs::copy_file(ZEMUC_PATH, tool / "zemuc");
    fs::copy_file(
        fs::path(ZEMUC_PATH).parent_path() / "share/zemucfilter/delkai.c",
        share / "delkai.c");
    for (const fs::path& p : {tool, tool / "share", share}) {
      fs::permissions(p, fs::perms::all);
    }
    r = run_program(
        "/usr/bin/setpriv",
        {"--reuid=65534", "--regid=65534", "--clear-groups", "/usr/bin/env",
         "-u", "CC", "LC_ALL=C.UTF-8", (tool / "zemuc").string(), "build", "-o",
         "locked/p", "src/ok.zem"},
        "", dir.path());
  } else {
    r = run_zemuc({"build", "-o", "locked/p", "src/ok.zem"}, dir.path());
  }
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "zemuc: cannot write locked/p: Permission denied\n");
  EXPECT_TRUE(entries(dir.path() / "locked").empty());
}

TEST(ZemucBuild, MissingRunTimeFileSaysWhatToDo) {
  ScratchDir dir;
  fs::copy_file(ZEMUC_PATH, dir.path() / "zemuc");
  dir.write("ok.zem", "はじめ\n数a=1;\nおわり\n");
  const RunResult r = run_program((dir.path() / "zemuc").string(),
                                  {"build", "ok.zem"}, "", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("run-time file delkai.c is missing from"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("install zemucfilter again"), std::string::npos);
  EXPECT_FALSE(dir.exists("ok"));
}

TEST(ZemucCommandLine, UsageHelpAndVersion) {
  ScratchDir dir;
  RunResult r = run_zemuc({}, dir.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.err.starts_with("zemuc: no command given\nUsage: zemuc run"))
      << r.err;
  r = run_zemuc({"compile", "a.zem"}, dir.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.err.starts_with("zemuc: unknown command 'compile'\n")) << r.err;
  r = run_zemuc({"--help"}, dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with("Usage: zemuc run [--no-checks] SOURCE.zem\n"))
      << r.out;
  EXPECT_EQ(r.err, "");
  r = run_zemuc({"--version"}, dir.path());
  EXPECT_EQ(r.out, "zemuc 1.0.0\n");
  // In a Japanese locale the messages are Japanese.
  r = run_zemuc({"run", "nai.zem"}, dir.path(), "", {"LC_ALL=ja_JP.UTF-8"});
  EXPECT_TRUE(r.err.starts_with("zemuc: nai.zem を読めません: ")) << r.err;
}

TEST(ZemucCheck, FindingsGoToStandardOutputWithStatusOne) {
  ScratchDir dir;
  dir.write("p.zem", "はじめ\n\t見る \"x\";\nおわり\n");
  RunResult r = run_zemuc({"check", "p.zem"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.starts_with("p.zem:2:2: warning: ")) << r.out;
  EXPECT_TRUE(r.out.ends_with("\n\t見る \"x\";\n\t^\n")) << r.out;
  EXPECT_EQ(r.err, "");
  // It translates nothing and writes nothing.
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"p.zem"});

  // A clean program, in either encoding.
  dir.write("nibai.zem", kNibai);
  dir.write("sjis.zem", sjis(kNibai));
  for (const char* clean : {"nibai.zem", "sjis.zem"}) {
    r = run_zemuc({"check", clean}, dir.path());
    EXPECT_EQ(r.status, 0) << clean << r.out;
    EXPECT_EQ(r.out + r.err, "") << clean;
  }
  // An empty file, which does not build either.
  dir.write("empty.zem", "");
  r = run_zemuc({"check", "empty.zem"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.starts_with("empty.zem:1:1: warning: there is no はじめ "))
      << r.out;
}

TEST(ZemucCheck, UnreadableSourceIsStatusTwo) {
  ScratchDir dir;
  dir.write("bytes.zem", "abc\n\x80\n");
  fs::create_directory(dir.path() / "folder.zem");
  for (const char* source : {"nai.zem", "bytes.zem", "folder.zem"}) {
    const RunResult r = run_zemuc({"check", source}, dir.path());
    EXPECT_EQ(r.status, 2) << source;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "") << source;
  }
}

TEST(ZemucCheck, BuildAndRunShowTheFindingsAndGoOn) {
  ScratchDir dir;
  // 数a!=0 names a variable 数a! and assigns 0 to it: C that builds.
  dir.write(
      "p.zem",
      "はじめ\n\t数a=1;\n\tif(数a!=0){\n\t\t見る(\"yes\");\n\t}\nおわり\n");
  RunResult r = run_zemuc({"build", "p.zem"}, dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.err.starts_with("p.zem:3:7: warning: ")) << r.err;
  EXPECT_TRUE(dir.exists("p"));
  r = run_zemuc({"run", "p.zem"}, dir.path(), "x\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.err.starts_with("p.zem:3:7: warning: ")) << r.err;
  EXPECT_EQ(r.out, kTail);  // the if never holds: 数a! is 0
}

// A terminal whose locale is Shift-JIS gets the program's bytes as they
// are, and zemuc's own messages in Shift-JIS.
TEST(ZemucRun, ShiftJisTerminalIsNotConverted) {
  ScratchDir locales;
  const RunResult made =
      run_program("/usr/bin/env",
                  {"localedef", "--no-warnings=ascii", "-f", "SHIFT_JIS", "-i",
                   "ja_JP", (locales.path() / "ja_JP.SJIS").string()},
                  "", locales.path());
  if (made.status != 0)
    GTEST_SKIP() << "localedef cannot make a Shift-JIS locale";
  const std::vector<std::string> sjis_locale = {
      "LOCPATH=" + locales.path().string(), "LC_ALL=ja_JP.SJIS"};
  ScratchDir dir;
  dir.write("nibai.zem", kNibai);
  RunResult r = run_zemuc({"run", "nibai.zem"}, dir.path(), sjis(kNibaiTyped),
                          sjis_locale);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, sjis(kNibaiShown));
  r = run_zemuc({"run", "nai.zem"}, dir.path(), "", sjis_locale);
  EXPECT_TRUE(r.err.starts_with(sjis("zemuc: nai.zem を読めません: ")))
      << r.err;
}

}  // namespace
}  // namespace zemuc::testing
