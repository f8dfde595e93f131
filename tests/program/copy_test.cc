// The compiler's copy: every compiler builds from it the program that gcc
// builds from prog.c told it is code page 932, and the map finds each byte
// of prog.c again.
#include "program/copy.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "program/plain_frame.h"
#include "program/program_support.h"
#include "support/run.h"
#include "sys/process.h"
#include "text/encoding.h"

namespace zemuc::testing {
namespace {

// Programs whose bytes a compiler that reads its input as UTF-8 would get
// wrong from prog.c, with what they are typed.
const struct {
  const char* what;
  const char* source;
  const char* input;
} kPrograms[] = {
    {"characters ending in 0x5C in literals, a digit after an escape",
     "はじめ\n"
     "\t見る(\"表1ソ2能\");\n"
     "\t字s=\"申し分ない十分\";\n"
     "\t見る(\"結び\",字s);\n"
     "\tprintf(\"%s%d\\n\",\"十\",7);\n"
     "\t見る(\"ｱｲｳ半角\");\n"
     "おわり\n",
     "x\n"},
    {"a // comment ending in ソ before a line of code, a /* */ comment",
     "はじめ\n"
     "\t//ソ\n"
     "\t見る(\"見える\");\n"
     "\t/* 表 */見る(\"後\");\n"
     "おわり\n",
     "x\n"},
    {"a statement of its Leading echo only, joined to the next line",
     "はじめ\n"
     "\t閉じる(無い);\n"
     "\t見る(\"後\");\n"
     "おわり\n",
     "x\n"},
    {"a statement in a // comment, its block commented line by line",
     "はじめ\n"
     "\t開く(入力,\"in.txt\",r);\n"
     "\t//読む(入力,数a);\n"
     "\t見る(\"a\");\n"
     "おわり\n",
     "x\n"},
    {"code before はじめ, a line joined by a backslash",
     "#define\tN\t3\n"
     "はじめ\n"
     "\t数a=N+\\\n"
     "1;\n"
     "\t見る(\"a\",数a);\n"
     "おわり\n",
     "x\n"},
    {"input, loops, files written and read",
     "はじめ\n"
     "\t打つ(数a,字t);\n"
     "\tくり返し(数a){\n"
     "\t\t見る(\"くり\",字t);\n"
     "\t}\n"
     "\t開く(出力,\"out.txt\",w);\n"
     "\t書く(出力,字t);\n"
     "\t閉じる(出力);\n"
     "\t開く(入力,\"out.txt\",r);\n"
     "\t読む(入力,字s);\n"
     "\t読みきり(入力,字u){\n"
     "\t\t見る(\"行\",字u);\n"
     "\t}\n"
     "\t見る(\"読んだ\",字s);\n"
     "おわり\n",
     "2\n表ソ\nx\n"},
};

// Builds `c_file` with the run-time file and runs it; what it shows.
std::string build_and_run(const ScratchDir& dir, const std::string& compiler,
                          const std::vector<std::string>& flags,
                          const std::string& c_file, std::string_view input) {
  const std::optional<std::string> cc = find_program(compiler);
  if (!cc) return "(no " + compiler + ")";
  std::vector<std::string> argv = {*cc};
  argv.insert(argv.end(), flags.begin(), flags.end());
  argv.insert(argv.end(), {"-w", (dir.path() / c_file).string(), runtime_file(),
                           "-o", (dir.path() / "program").string(), "-lm"});
  const Captured built = run_and_capture(argv);
  if (!built.ended || built.ended->status != 0) {
    return "(does not build: " + built.output + ")";
  }
  const RunResult run = run_program((dir.path() / "program").string(), {},
                                    sjis(input), dir.path());
  return run.out + "[status " + std::to_string(run.status) + "]";
}

TEST(CompilerCopy, EveryCompilerBuildsWhatGccBuildsFromCodePage932) {
  const bool have_clang = find_program("clang").has_value();
  if (!have_clang) std::cout << "clang is not installed: only gcc is tried\n";
  const bool have_tcc = find_program("tcc").has_value();
  if (!have_tcc) std::cout << "tcc is not installed: it is not tried\n";
  const std::vector<std::string> checked = {"-fsanitize=address,undefined",
                                            "-fno-sanitize-recover=all"};
  for (const auto& p : kPrograms) {
    SCOPED_TRACE(p.what);
    ScratchDir dir;
    const Program program = program_of(p.source);
    dir.write("prog.c", program.c_text());
    const std::string expected = build_and_run(
        dir, "gcc",
        {"-std=gnu89", "-finput-charset=CP932", "-fexec-charset=CP932"},
        "prog.c", p.input);
    ASSERT_TRUE(expected.find("[status 0]") != std::string::npos) << expected;
    for (const Frame frame :
         {Frame::kPlain, Frame::kChecked, Frame::kOwnChecks}) {
      const bool with_checks = frame == Frame::kChecked;
      SCOPED_TRACE(static_cast<int>(frame));
      const CompilerCopy copy = make_compiler_copy(program, frame);
      // No byte a compiler could read another way: UTF-8 throughout.
      ASSERT_TRUE(is_valid_utf8(copy.text)) << copy.text;
      dir.write("copy.c", copy.text);
      std::vector<std::string> flags = {"-std=gnu89", "-fextended-identifiers"};
      if (with_checks) {
        flags.insert(flags.end(), checked.begin(), checked.end());
        flags.insert(flags.end(), {"-static-libasan", "-static-libubsan"});
      }
      EXPECT_EQ(utf8(build_and_run(dir, "gcc", flags, "copy.c", p.input)),
                utf8(expected));
      // tcc builds every frame but the one with the sanitizers.
      if (have_tcc && !with_checks) {
        EXPECT_EQ(utf8(build_and_run(dir, "tcc", {}, "copy.c", p.input)),
                  utf8(expected));
      }
      if (!have_clang) continue;
      flags = {"-std=gnu89"};
      if (with_checks)
        flags.insert(flags.end(), checked.begin(), checked.end());
      EXPECT_EQ(utf8(build_and_run(dir, "clang", flags, "copy.c", p.input)),
                utf8(expected));
    }
  }
}

// The line a compiler gives each line of the copy, as C counts them after
// #line directives: what the map is asked with.
struct CopyLine {
  CopyMap::File file;
  std::size_t number;
  std::string_view text;
};
std::vector<CopyLine> copy_lines(std::string_view copy,
                                 const std::string& source_name) {
  std::vector<CopyLine> lines;
  CopyMap::File file = CopyMap::File::kFrame;
  std::size_t number = 1;
  while (!copy.empty()) {
    const std::size_t lf = copy.find('\n');
    const std::string_view line = copy.substr(0, lf);
    copy.remove_prefix(lf + 1);
    if (line.starts_with("#line ")) {
      number = std::stoul(std::string(line.substr(6)));
      file = line.ends_with("\"" + source_name + "\"") ? CopyMap::File::kSource
                                                       : CopyMap::File::kFrame;
      continue;
    }
    lines.push_back({file, number++, line});
  }
  return lines;
}

TEST(CompilerCopy, MapFindsEachByteOfTheCText) {
  for (const auto& p : kPrograms) {
    SCOPED_TRACE(p.what);
    const Program program = program_of(p.source);
    const CompilerCopy copy = make_compiler_copy(program, true);
    std::size_t checked_bytes = 0;
    for (const CopyLine& line : copy_lines(copy.text, "p.zem")) {
      if (line.file != CopyMap::File::kSource) continue;
      for (std::size_t column = 1; column <= line.text.size(); ++column) {
        const char c = line.text[column - 1];
        const std::optional<std::size_t> offset =
            copy.map.find(line.file, line.number, column);
        ASSERT_TRUE(offset.has_value()) << line.number << ':' << column;
        // An escape or a converted character maps to where it starts;
        // the bytes of C copied as they are (names, numbers, signs; not
        // the blanks and the comment marks the copy changes) map to
        // themselves.
        if (c == '\\' && column < line.text.size() &&
            line.text[column] >= '0' && line.text[column] <= '7') {
          column += 3;
          continue;
        }
        if (std::isalnum(static_cast<unsigned char>(c)) ||
            std::string_view("_=;(),+-%\"[]{}").find(c) !=
                std::string_view::npos) {
          EXPECT_EQ(program.c_text()[*offset], c)
              << line.number << ':' << column;
          ++checked_bytes;
        }
      }
    }
    EXPECT_GT(checked_bytes, 10u);
  }
}

TEST(CompilerCopy, EachSourceLineIsNamedAndTheFrameIsNot) {
  const Program program = program_of(kPrograms[5].source);
  const CompilerCopy copy = make_compiler_copy(program, false);
  const std::vector<CopyLine> lines = copy_lines(copy.text, "p.zem");
  // The source's lines 2 to 14 are the learner's, one copy line each; the
  // first and the last write the frame.
  std::vector<std::size_t> named;
  for (const CopyLine& line : lines) {
    if (line.file == CopyMap::File::kSource) named.push_back(line.number);
  }
  std::vector<std::size_t> expected;
  for (std::size_t n = 2; n <= 14; ++n) expected.push_back(n);
  EXPECT_EQ(named, expected) << copy.text;
  EXPECT_TRUE(copy.text.starts_with("#line 1 \"<translator>\"\n")) << copy.text;
  EXPECT_NE(copy.text.find("int delkai(char *);"), std::string::npos);
  // A place in the frame has no place in the source's C text.
  EXPECT_FALSE(copy.map.find(CopyMap::File::kSource, 1, 1).has_value());
  EXPECT_FALSE(copy.map.find(CopyMap::File::kSource, 99, 1).has_value());
}

// The checked frame (runtime/checks.c) ends with the status and reads the
// variables that copy.h names, as often as it means to.
TEST(CompilerCopy, TheCheckedFrameSaysWhatCopyHNames) {
  const Program program = program_of("はじめ\n\t見る(\"a\");\nおわり\n");
  const std::string text = make_compiler_copy(program, true).text;
  const auto count = [&text](const std::string& words) {
    std::size_t n = 0;
    for (std::size_t at = text.find(words); at != std::string::npos;
         at = text.find(words, at + 1)) {
      ++n;
    }
    return n;
  };
  const std::string status = std::to_string(kCheckFailedStatus);
  const struct {
    std::string words;
    std::size_t times;
  } cases[] = {
      {"exit(" + status + ");", 1},
      {"exitcode=" + status + "\"", 1},
      {"exitcode=" + status + ":", 1},
      {"exitcode=", 2},
      {"exit(", 2},  // and exit(0) for the probe
      {"getenv(\"" + std::string(kProbeVariable) + "\") != NULL) exit(0);", 1},
      {"getenv(\"" + std::string(kReportVariable) + "\")", 1},
      {"getenv(\"" + std::string(kOpenNotesVariable) + "\")", 2},
      {"getenv(", 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(count(c.words), c.times) << c.words;
  }
  // The frame comes whole, without the C file's opening comment.
  EXPECT_TRUE(
      text.starts_with("#line 1 \"<translator>\"\n#include <stdio.h>\n"))
      << text;
}

// Only a program without the sanitizers watches for faults, by the
// variable that plain_frame.h names; the trailer that starts the watch
// under tcc comes after the program's own main, named as the frame. The
// frame's own checks come after the watch, and report as kReportVariable
// says.
TEST(CompilerCopy, OnlyFramesWithoutSanitizersWatchForFaults) {
  const Program program = program_of("はじめ\n\t見る(\"a\");\nおわり\n");
  const std::string watch = "getenv(\"" + std::string(kFaultVariable) + "\")";
  const std::string report = "getenv(\"" + std::string(kReportVariable) + "\")";
  const std::string checked = make_compiler_copy(program, Frame::kChecked).text;
  EXPECT_EQ(checked.find(watch), std::string::npos);
  EXPECT_EQ(checked.find("zemuc_main"), std::string::npos);
  for (const Frame frame : {Frame::kPlain, Frame::kOwnChecks}) {
    const std::string text = make_compiler_copy(program, frame).text;
    EXPECT_NE(text.find(watch), std::string::npos);
    EXPECT_EQ(text.find(watch), text.rfind(watch));
    const std::size_t reported = text.find(report);
    if (frame == Frame::kOwnChecks) {
      EXPECT_LT(text.find(watch), reported);
    } else {
      EXPECT_EQ(reported, std::string::npos);
    }
    const std::size_t own_main = text.find("main() {");
    const std::size_t trailer = text.rfind("#line 1 \"<translator>\"\n");
    ASSERT_NE(own_main, std::string::npos);
    EXPECT_LT(own_main, trailer);
    EXPECT_TRUE(text.substr(trailer).ends_with(plain_trailer())) << text;
  }
}

TEST(CompilerCopy, SourceNamesAreWrittenAsCStrings) {
  const Program program =
      program_of("はじめ\n\t見る(\"a\");\nおわり\n", "dir \"a\"\\計算\t.zem");
  const std::string text = make_compiler_copy(program, false).text;
  EXPECT_NE(text.find("#line 2 \"dir \\\"a\\\"\\\\計算\\011.zem\"\n"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace zemuc::testing
