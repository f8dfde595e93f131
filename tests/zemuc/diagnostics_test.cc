// zemuc run and build as a learner meets them when something goes wrong:
// with gcc and with clang, each compiler error and each run-time check on
// the learner's line in the learner's words, and a near miss of each that
// runs clean.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <future>
#include <iostream>
#include <regex>
#include <string>
#include <vector>

#include "support/run.h"
#include "support/sjis.h"
#include "zemuc/run_zemuc.h"

namespace zemuc::testing {
namespace {

namespace fs = std::filesystem;

const std::string kTail = "--->何か文字を入れれば終わるよ";

const char* const kDivide =
    "はじめ\n\t打つ(数a,数b);\n\t数c=数a/数b;\n\t見る(\"c\",数c);\nおわり\n";
const char* const kSquare =
    "はじめ\n\t打つ(数a);\n\t数b=数a*数a;\n\t見る(\"b\",数b);\nおわり\n";

// The compilers to try: gcc always, clang where it is installed.
std::vector<std::string> compilers() {
  std::vector<std::string> found = {"gcc"};
  if (run_program("/bin/sh", {"-c", "command -v clang"}, "", ".").status == 0) {
    found.push_back("clang");
  }
  return found;
}

// Nothing the learner did not write: no C name, no C file, no frame name.
void expect_learners_terms(const std::string& err) {
  static const std::regex kCName(R"(\b(nn|cc|fp|rep)[0-9]+\b)");
  EXPECT_FALSE(std::regex_search(err, kCName)) << err;
  EXPECT_EQ(err.find("p.c:"), std::string::npos) << err;
  EXPECT_EQ(err.find("<translator>"), std::string::npos) << err;
  EXPECT_EQ(err.find("dummy"), std::string::npos) << err;
}

struct Case {
  const char* what;
  const char* source;
  std::string input;
  int status;
  const char* err_starts;    // what stderr starts with
  std::string out_has;       // what standard output holds
  const char* err_has = "";  // what stderr holds
  // What the report kept beside the source holds, when a check stopped the
  // program (status 70).
  const char* report_has = "";
  std::vector<std::string> env = {};
};

// Each case with gcc and with clang; the messages' whole texts are
// explain_test's and fault_test's.
void run_cases(const std::vector<Case>& cases) {
  for (const std::string& cc : compilers()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " with " + cc);
      ScratchDir dir;
      dir.write("p.zem", c.source);
      std::vector<std::string> env = c.env;
      env.push_back("CC=" + cc);
      const RunResult r = run_zemuc({"run", "p.zem"}, dir.path(), c.input, env);
      EXPECT_EQ(r.status, c.status) << r.err;
      EXPECT_TRUE(r.err.starts_with(c.err_starts)) << r.err;
      EXPECT_NE(r.out.find(c.out_has), std::string::npos) << r.out;
      EXPECT_NE(r.err.find(c.err_has), std::string::npos) << r.err;
      expect_learners_terms(r.err);
      if (c.status == 70) {
        EXPECT_TRUE(
            r.err.ends_with("zemuc: the checks' whole report: p.report.txt\n"))
            << r.err;
        ASSERT_TRUE(dir.exists("p.report.txt"));
        EXPECT_NE(dir.read("p.report.txt").find(c.report_has),
                  std::string::npos);
      } else {
        EXPECT_FALSE(dir.exists("p.report.txt"));
      }
      // prog.c stays the translator's, the copy goes.
      EXPECT_TRUE(dir.exists("p.c"));
      EXPECT_EQ(dir.read("p.c").find("#line"), std::string::npos);
    }
  }
}

TEST(ZemucDiagnostics, CompilerErrorsOnTheLearnersLineAndNearMissesClean) {
  run_cases({
      {"a missing ;",
       "はじめ\n\t打つ(数a);\n\t数b=数a*2\n\t見る(\"b\",数b);\nおわり\n", "", 1,
       "p.zem:3:9: error: a ; is missing at the end of this line", ""},
      {"the ; there",
       "はじめ\n\t打つ(数a);\n\t数b=数a*2;\n\t見る(\"b\",数b);\nおわり\n",
       "4\nx\n", 0, "", "b[8]"},
      {"a word used as a variable", "はじめ\n\t値=5;\nおわり\n", "", 1,
       "p.zem:2:2: error: 値 is not a variable", ""},
      {"in Japanese", "はじめ\n\t値=5;\nおわり\n", "", 1,
       "p.zem:2:2: error: 値 は変数ではありません", "", "", "",
       std::vector<std::string>{"LC_ALL=ja_JP.UTF-8"}},
      {"the variable named so",
       "はじめ\n\t数値=5;\n\t見る(\"v\",数値);\nおわり\n", "x\n", 0, "",
       "v[5]"},
      // The check's finding comes first, before the build.
      {"a brace never closed",
       "はじめ\n\tくり返し(3){\n\t\t見る(\"x\");\nおわり\n", "", 1,
       "p.zem:2:2: warning: ", ""},
      {"the brace closed",
       "はじめ\n\tくり返し(2){\n\t\t見る(\"x\");\n\t}\nおわり\n", "x\n", 0, "",
       "x\nx\n"},
      // The C left out closes main early: the compiler misses its line
      // buffer, which the learner never wrote.
      {"a file read that no 開く opened",
       "はじめ\n\t読む(入力,数a);\n\t見る(\"a\",数a);\nおわり\n", "", 1,
       "p.zem:2:5: warning: ", "",
       "p.zem:2:5: error: 入力 is not a file opened with 開く"},
      {"a mistyped keyword, from the linker",
       "はじめ\n\t見る(\"a\");\n\t見ル(\"b\");\nおわり\n", "", 1,
       "p.zem:3:2: error: there is no statement or function named 見ル", ""},
      {"a number put into a string variable",
       "はじめ\n\t数a=3;\n\t字s=数a;\nおわり\n", "", 1,
       "p.zem:3:5: error: 字s holds a text, and the number 数a cannot", ""},
      {"the number written as a text",
       "はじめ\n\t数a=3;\n\tsprintf(字s,\"%d\",数a);\n\t見る(\"s\",字s);"
       "\nおわり\n",
       "x\n", 0, "", "s[3]"},
  });
}

TEST(ZemucDiagnostics, RunTimeChecksStopTheProgramWithOneMessage) {
  run_cases({
      {"division by zero",
       "はじめ\n\t打つ(数a,数b);\n\t見る(\"割る\");\n\t数c=数a/数b;\n"
       "\t見る(\"c\",数c);\nおわり\n",
       "7\n0\n", 70,
       "p.zem:4:7: error: division by zero: 数b is 0\n\t数c=数a/数b;\n",
       "割る\n"},
      {"a divisor that is not zero", kDivide, "7\n2\nx\n", 0, "", "c[3]\n"},
      // gcc puts the place at the assignment, clang at the operator.
      {"a number too large for an int", kSquare, "65536\n", 70, "p.zem:3:", "",
       ": error: the result of 65536 * 65536 is too large for a number "
       "variable"},
      {"the largest product that fits", kSquare, "46340\nx\n", 0, "",
       "b[2147395600]"},
      {"a number typed too large for an int",
       "はじめ\n\t打つ(数a);\n\t見る(\"a\",数a);\nおわり\n", "99999999999\n",
       70, "p.zem:2:2: error: the number typed, 99999999999, is too large", ""},
      {"the largest number typed that fits",
       "はじめ\n\t打つ(数a);\n\t見る(\"a\",数a);\nおわり\n", "2147483647\nx\n",
       0, "", "a[2147483647]"},
      {"a text longer than its variable holds",
       "はじめ\n\t打つ(字n);\n\t見る(\"n\",字n);\nおわり\n",
       std::string(300, 'x') + "\nx\n", 70,
       "p.zem:2:2: error: 字n holds at most 255 bytes of text, and a text of "
       "300 bytes",
       "", "", "AddressSanitizer"},
      {"the longest text it holds",
       "はじめ\n\t打つ(字n);\n\t見る(\"n\",字n);\nおわり\n",
       std::string(255, 'y') + "\nx\n", 0, "",
       "n[" + std::string(255, 'y') + "]\n"},
      {"a file statement on a file that did not open",
       "はじめ\n\t数a=1;\n\t開く(出力,\"no/such/folder/o.txt\",w);\n"
       "\t書く(出力,数a);\nおわり\n",
       "x\n", 70,
       "p.zem:4:2: error: 出力 is not open: its 開く on line 3 could not open "
       "the file: there is no such file, or no folder for it\n",
       ""},
      {"a file that opens",
       "はじめ\n\t数a=1;\n\t開く(出力,\"o.txt\",w);\n\t書く(出力,数a);\n"
       "\t閉じる(出力);\n\t見る(\"書いた\");\nおわり\n",
       "x\n", 0, "", "書いた\n"},
      // stdio keeps the write back until the close.
      {"a file on a full disk",
       "はじめ\n\t数a=1;\n\t開く(出力,\"/dev/full\",w);\n\t書く(出力,数a);\n"
       "\t閉じる(出力);\nおわり\n",
       "x\n", 70,
       "p.zem:5:2: error: 出力 could not be written: the disk is full\n", "",
       "", "file not written: 28"},
      {"a folder read as a file",
       "はじめ\n\t開く(入力,\".\",r);\n\t読む(入力,数a);\nおわり\n", "x\n", 70,
       "p.zem:3:2: error: 入力 could not be read: that name is a folder, not "
       "a file\n",
       ""},
      {"a folder read to its end",
       "はじめ\n\t開く(入力,\".\",r);\n\t読みきり(入力,字s){\n"
       "\t\t見る(\"s\",字s);\n\t}\nおわり\n",
       "x\n", 70, "p.zem:3:2: error: 入力 could not be read: that name is a",
       ""},
      {"a file read to its end",
       "はじめ\n\t開く(入力,\"p.zem\",r);\n\t読みきり(入力,字s){\n"
       "\t}\n\t見る(\"読んだ\");\nおわり\n",
       "x\n", 0, "", "読んだ\n"},
      {"a fraction too large for an int",
       "はじめ\n\t打つ(数b);\n\t数a=pow(数b,10);\n\t見る(\"a\",数a);\n"
       "おわり\n",
       "10\n", 70, "p.zem:3:5: error: the result 1e+10 is too large", ""},
      {"a fraction that fits",
       "はじめ\n\t打つ(数b);\n\t数a=pow(数b,10);\n\t見る(\"a\",数a);\n"
       "おわり\n",
       "8\nx\n", 0, "", "a[1073741824]"},
      {"a number typed beyond every integer type",
       "はじめ\n\t打つ(数a);\n\t見る(\"a\",数a);\nおわり\n",
       "99999999999999999999999\n", 70,
       "p.zem:2:2: error: the number typed is too large for a number "
       "variable",
       ""},
      {"a remainder too large",
       "はじめ\n\t打つ(数a,数b);\n\t数c=(数a)%(数b);\n\t見る(\"c\",数c);\n"
       "おわり\n",
       "-2147483648\n-1\n", 70,
       "p.zem:3:9: error: the result of -2147483648 % -1 is too large", ""},
  });
}

std::string file_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Correct programs print and write the same bytes with checks as without,
// with either compiler: the golden program of the translator's tests, and
// programs of the statements learners use most.
TEST(ZemucDiagnostics, ValidProgramsPrintTheSameWithChecks) {
  const std::string golden =
      file_text(fs::path(__FILE__).parent_path().parent_path() /
                "e2e/golden/typical.zem");
  ASSERT_FALSE(golden.empty());
  const struct {
    std::string source;
    const char* input;
  } programs[] = {
      {golden, "21\nx\n"},
      {"はじめ\n"
       "\t打つ(数n);\n"
       "\t数合計=0;\n"
       "\tくり返し(数n){\n"
       "\t\t打つ(数x);\n"
       "\t\tif((数x)%2==0){\n"
       "\t\t\t数合計=数合計+数x*数x;\n"
       "\t\t}else{\n"
       "\t\t\t数合計=数合計-数x/3;\n"
       "\t\t}\n"
       "\t}\n"
       "\t字答=\"合計は表示ソ\";\n"
       "\tprintf(\"%s%d\\n\",字答,数合計);\n"
       "\t開く(出力,\"o.txt\",w);\n"
       "\t書く(出力,数合計);\n"
       "\t書く(出力,字答);\n"
       "\t閉じる(出力);\n"
       "おわり\n",
       "4\n10\n-7\n3\n2147\nowari\n"},
  };
  for (const auto& p : programs) {
    std::string reference;
    for (const std::string& cc : compilers()) {
      for (const bool checks : {false, true}) {
        SCOPED_TRACE(cc + (checks ? " with checks" : " without"));
        ScratchDir dir;
        dir.write("p.zem", p.source);
        dir.write("in.txt", sjis("12\nりんご\nみかん\n"));
        std::vector<std::string> args = {"run", "p.zem"};
        if (!checks) args.insert(args.begin() + 1, "--no-checks");
        const RunResult r = run_zemuc(args, dir.path(), p.input, {"CC=" + cc});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        std::string shown = r.out;
        for (const char* written : {"out.txt", "o.txt"}) {
          if (!dir.exists(written)) continue;
          shown += '\n';
          shown += dir.read(written);
        }
        if (reference.empty()) reference = shown;
        EXPECT_EQ(shown, reference);
      }
    }
  }
}

// Without checks a fault ends the program by its signal, told on the
// learner's line that the program's debug information names; with
// --no-checks the program is what the compiler makes of prog.c. A program
// that ends well draws no word.
TEST(ZemucDiagnostics, WithoutChecksAFaultIsToldOnItsLine) {
  const char* const kNullWrite =
      "はじめ\n\t見る(\"a\");\n\t*(int *)0=1;\nおわり\n";
  const struct {
    const char* cc;
    const char* source;
    const char* input;
    int status;
    std::string err;
  } cases[] = {
      {"gcc", kDivide, "7\n0\n", 128 + SIGFPE,
       "p.zem:3:2: error: the program was stopped by an arithmetic error "
       "(SIGFPE), most often a division by zero\n\t数c=数a/数b;\n\t^\n"},
      {"tcc", kDivide, "7\n0\n", 128 + SIGFPE,
       "p.zem:3:2: error: the program was stopped by an arithmetic error "
       "(SIGFPE), most often a division by zero\n\t数c=数a/数b;\n\t^\n"},
      {"gcc", kNullWrite, "", 128 + SIGSEGV,
       "p.zem:3:2: error: the program was stopped for touching memory that "
       "is not its own (SIGSEGV)\n\t*(int *)0=1;\n\t^\n"},
      {"tcc", kNullWrite, "", 128 + SIGSEGV,
       "p.zem:3:2: error: the program was stopped for touching memory that "
       "is not its own (SIGSEGV)\n\t*(int *)0=1;\n\t^\n"},
      {"gcc", kDivide, "7\n2\nx\n", 0, ""},
      {"tcc", kDivide, "7\n2\nx\n", 0, ""},
  };
  const bool has_tcc =
      run_program("/bin/sh", {"-c", "command -v tcc"}, "", ".").status == 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.cc) + " with " + c.input);
    if (c.cc == std::string("tcc") && !has_tcc) {
      std::cout << "tcc is not installed: its rows are skipped\n";
      continue;
    }
    ScratchDir dir;
    dir.write("p.zem", c.source);
    const RunResult r = run_zemuc({"run", "--no-checks", "p.zem"}, dir.path(),
                                  c.input, {std::string("CC=") + c.cc});
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    EXPECT_FALSE(dir.exists("p.report.txt"));
  }
}

// Built by zemuc and run by anyone else, a program without checks notes
// nothing and ends as it always did, by its signal.
TEST(ZemucDiagnostics, WithoutChecksAProgramRunAloneEndsAsBefore) {
  ScratchDir dir;
  dir.write("p.zem", kDivide);
  RunResult r = run_zemuc({"build", "--no-checks", "p.zem"}, dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  r = run_program((dir.path() / "p").string(), {}, "7\n2\nx\n", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, sjis("c[3]\n" + kTail));
  // The shell says the status that a signal gives.
  r = run_program(
      "/bin/sh",
      {"-c", "\"$0\"; echo \"status $?\"", (dir.path() / "p").string()},
      "7\n0\n", dir.path());
  EXPECT_EQ(r.out, "status " + std::to_string(128 + SIGFPE) + "\n");
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.path())) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"p", "p.c", "p.zem"}));
}

// "CC=" and a compiler in `dir` that is the shell script `script`.
std::string fake_cc(const ScratchDir& dir, const std::string& script) {
  const fs::path cc = dir.write("cc", "#!/bin/sh\n" + script);
  fs::permissions(cc, fs::perms::owner_all);
  return "CC=" + cc.string();
}

// A compiler whose link with the sanitizers fails, as where their run-time
// is not installed: the program is built and runs with the frame's own
// checks, after one line that says so, and they still stop a text too
// long on its line; an error of the program is still its own.
TEST(ZemucDiagnostics, MissingSanitizerRunTimeBuildsWithoutChecks) {
  ScratchDir dir;
  const std::string cc =
      fake_cc(dir,
              "case \" $* \" in *-fsanitize*)\n"
              "  echo '/usr/bin/ld: cannot find -lasan: No such file or "
              "directory' >&2\n"
              "  exit 1;;\n"
              "esac\n"
              "exec gcc \"$@\"\n");
  dir.write("p.zem", "はじめ\n\t見る(\"動いた\");\nおわり\n");
  RunResult r = run_zemuc({"run", "p.zem"}, dir.path(), "x\n", {cc});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "動いた\n" + kTail);
  EXPECT_EQ(r.err, "zemuc: built with fewer run-time checks: " + cc.substr(3) +
                       " cannot build a checked program here (it has no "
                       "sanitizers, or their run-time is missing)\n");
  dir.write("p.zem", "はじめ\n\t打つ(字n);\n\t見る(\"n\",字n);\nおわり\n");
  r = run_zemuc({"run", "p.zem"}, dir.path(), std::string(300, 'x') + "\n",
                {cc});
  EXPECT_EQ(r.status, 70);
  EXPECT_NE(r.err.find("\np.zem:2:2: error: 字n holds at most 255 bytes"),
            std::string::npos)
      << r.err;
  dir.write("p.zem", "はじめ\n\t値=5;\nおわり\n");
  r = run_zemuc({"run", "p.zem"}, dir.path(), "x\n", {cc});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.starts_with("p.zem:2:2: error: 値 is not a variable"))
      << r.err;
  EXPECT_EQ(r.err.find("fewer run-time checks"), std::string::npos);
}

// A checked program that cannot start (its sanitizers cannot map their
// memory under a limit) is built again without checks.
TEST(ZemucDiagnostics, CheckedProgramThatCannotStartRunsWithoutChecks) {
  ScratchDir dir;
  dir.write("p.zem", "はじめ\n\t見る(\"動いた\");\nおわり\n");
  const std::string limited =
      "ulimit -v 4000000 && exec /usr/bin/env -u CC -u LANGUAGE "
      "LC_ALL=C.UTF-8 \"$0\" \"$@\"";
  RunResult r = run_program(
      "/bin/bash", {"-c", limited, ZEMUC_PATH, "--version"}, "", dir.path());
  if (r.status != 0) GTEST_SKIP() << "zemuc itself needs more memory here";
  r = run_program("/bin/bash", {"-c", limited, ZEMUC_PATH, "run", "p.zem"},
                  "x\n", dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "動いた\n" + kTail);
  EXPECT_TRUE(
      r.err.starts_with("zemuc: built with fewer run-time checks: the "
                        "checked program cannot start here: "))
      << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

// A program killed while its checks write their report: the message says
// what could be read, the status says the check failed, nothing is left.
TEST(ZemucDiagnostics, ReportCutShortStillGivesAMessage) {
  ScratchDir dir;
  // A "compiler" whose checked program writes half a report and is
  // killed in the middle of it.
  const std::string cc =
      fake_cc(dir,
              "case \" $* \" in *-fsanitize*) ;; *) exec gcc \"$@\";; esac\n"
              "while [ \"$1\" != -o ]; do shift; done\n"
              "cat >\"$2\" <<'PROGRAM'\n"
              "#!/bin/sh\n"
              "[ -n \"$ZEMUC_PROBE\" ] && exit 0\n"
              "log=${ASAN_OPTIONS#log_path=}\n"
              "printf '==1==ERROR: AddressSanitizer: stack-buffer-overflow on "
              "address 0x7ffe at pc 0x1\\nWRITE of size 301 at 0x7ffe thread "
              "T0\\n    #0 0x1 in ma' >\"$log.$$\"\n"
              "echo 'before the fault'\n"
              "kill -KILL $$\n"
              "PROGRAM\n");
  dir.write("p.zem", "はじめ\n\t見る(\"a\");\nおわり\n");
  const RunResult r = run_zemuc({"run", "p.zem"}, dir.path(), "", {cc});
  EXPECT_EQ(r.status, 70);
  EXPECT_EQ(r.out, "before the fault\n");
  EXPECT_EQ(r.err,
            "p.zem: error: the program read or wrote past the end of a "
            "variable\n"
            "zemuc: the checks' whole report: p.report.txt\n");
  EXPECT_TRUE(dir.read("p.report.txt").ends_with("#0 0x1 in ma"));
}

// Two runs of one program at once: each builds, runs and checks in its own
// scratch folder; prog.c and the kept report are written whole.
TEST(ZemucDiagnostics, TwoRunsOfOneProgramAtOnce) {
  ScratchDir dir;
  dir.write("p.zem", kDivide);
  const auto run = [&](const char* input) {
    return run_zemuc({"run", "p.zem"}, dir.path(), input);
  };
  for (int round = 0; round < 2; ++round) {
    auto first = std::async(std::launch::async, run, "8\n2\nx\n");
    auto second = std::async(std::launch::async, run, "9\n0\n");
    const RunResult a = first.get();
    const RunResult b = second.get();
    EXPECT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, "c[4]\n" + kTail);
    EXPECT_EQ(b.status, 70) << b.err;
    EXPECT_TRUE(b.err.starts_with("p.zem:3:7: error: division by zero"));
  }
  EXPECT_EQ(dir.read("p.c"), [&] {
    ScratchDir other;
    other.write("p.zem", sjis(kDivide));
    run_translator({"p.zem"}, other.path());
    return other.read("p.c");
  }());
  EXPECT_TRUE(dir.read("p.report.txt").starts_with("p.zem:3:"));
  // Nothing else is left beside the source.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.path())) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"p.c", "p.report.txt", "p.zem"}));
}

}  // namespace
}  // namespace zemuc::testing
