// The whole command line in memory: dialogue, exit status, key read and
// the files written, for successful and failing runs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "io/files.h"
#include "support/expected.h"
#include "support/memory_cli.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

// Every run reads the key once, after its last message.
void expect_one_key_at_the_end(const CliRun& run) {
  EXPECT_EQ(run.keys, 1);
  EXPECT_EQ(run.console_at_key, run.console.size());
}

TEST(RunCli, WrongUsageOpensNoFile) {
  const std::vector<std::vector<std::string>> cases = {
      {}, {"a.zem", "b.zem"}, {""}, {"a"}, {"a.z"}, {"abc"}, {"a.zem", ""}};
  for (const auto& args : cases) {
    MemoryFiles files;
    files.files["a.zem"] = sjis("はじめ\nおわり\n");
    files.files["abc"] = "x";
    const CliRun run = run_cli_in_memory(args, files);
    const std::string shown = args.empty() ? "(none)" : args[0];
    EXPECT_EQ(run.status, 8) << shown;
    EXPECT_EQ(run.console, sjis(kUsage + kFailure)) << shown;
    EXPECT_EQ(files.files.size(), 2u) << shown;
    expect_one_key_at_the_end(run);
  }
}

TEST(RunCli, TranslatesASmallProgram) {
  MemoryFiles files;
  files.files["keisan.zem"] = sjis(
      "はじめ\n"
      "\t数a=1;\n"
      "\t字s=\"a b\";\n"
      "\tif (数a == 1) {\n"
      "\t\t数a=数a+1;\n"
      "\t} else {\n"
      "\t\t字s=字s;\n"
      "\t}\n"
      "/* note */\n"
      "おわり\n");
  const CliRun run = run_cli_in_memory({"keisan.zem"}, files);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.console, sjis(rewriting("keisan.zem", "keisan.c") +
                              reading("keisan.zem") + kDumpHeader +
                              "name=数a  var=nn1  prop=N\n"
                              "name=字s  var=cc2  prop=C\n" +
                              kDumpFooter + writing("keisan.c") + kSuccess))
      << utf8(run.console);
  expect_one_key_at_the_end(run);
  EXPECT_EQ(files.files["keisan.c"], sjis(kProgramHead +
                                          "\tint nn1;\n"
                                          "\tchar cc2[256];\n"
                                          "\tnn1=1;\n"
                                          "\tstrcpy(cc2,\"ab\");\n"
                                          "\tif(nn1==1){\n"
                                          "\t\tnn1=nn1+1;\n"
                                          "\t}else {\n"
                                          "\t\tstrcpy(cc2,cc2);\n"
                                          "\t}\n"
                                          "/*note*/\n" +
                                          kProgramTail))
      << utf8(files.files["keisan.c"]);
}

TEST(RunCli, EmptySourceWritesAnEmptyFile) {
  MemoryFiles files;
  files.files["a.zem"] = "";
  const CliRun run = run_cli_in_memory({"a.zem"}, files);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.console,
            sjis(rewriting("a.zem", "a.c") + reading("a.zem") + kDumpHeader +
                 kDumpFooter + writing("a.c") + kSuccess));
  ASSERT_TRUE(files.files.contains("a.c"));
  EXPECT_EQ(files.files["a.c"], "");
}

TEST(RunCli, ReplacesAnExistingOutput) {
  MemoryFiles files;
  files.files["a.zem"] = sjis("}\n");
  files.files["a.c"] = "old text that is longer\n";
  EXPECT_EQ(run_cli_in_memory({"a.zem"}, files).status, 0);
  EXPECT_EQ(files.files["a.c"], "}\n");
}

TEST(RunCli, MissingSourceLeavesNoOutput) {
  MemoryFiles files;
  const CliRun run = run_cli_in_memory({"x.zem"}, files);
  EXPECT_EQ(run.status, 8);
  EXPECT_EQ(run.console,
            sjis(rewriting("x.zem", "x.c") + missing("x.zem") + kFailure));
  EXPECT_TRUE(files.files.empty());
  expect_one_key_at_the_end(run);
}

// Names reach the console and the file system byte for byte.
TEST(RunCli, NamesAreBytes) {
  for (const std::string& name :
       {std::string("計算.zem"), std::string("data/keisan.zem"),
        std::string(300, 'n') + ".zem", std::string(".zem")}) {
    MemoryFiles files;
    const std::string source = sjis(name);
    const std::string output = source.substr(0, source.size() - 4) + ".c";
    files.files[source] = "";
    const CliRun run = run_cli_in_memory({source}, files);
    EXPECT_EQ(run.status, 0) << name;
    EXPECT_TRUE(run.console.starts_with(sjis("いま，") + source + sjis("を") +
                                        output + sjis("に")))
        << name;
    EXPECT_TRUE(files.files.contains(output)) << name;
  }
}

TEST(RunCli, RejectedDisplayLineKeepsWhatWasWritten) {
  MemoryFiles files;
  files.files["a.zem"] = sjis("はじめ\r\n\t見る();\r\n数a=1;\r\n");
  const CliRun run = run_cli_in_memory({"a.zem"}, files);
  EXPECT_EQ(run.status, 8);
  EXPECT_EQ(run.console,
            sjis(rewriting("a.zem", "a.c") + reading("a.zem") + kDumpHeader +
                 "name=数a  var=nn1  prop=N\n" + kDumpFooter + writing("a.c") +
                 "次の行おかしい\n\t見る();\n" + kFailure))
      << utf8(run.console);
  expect_one_key_at_the_end(run);
  // The head and the rejected line's own leading tab; nothing after it.
  EXPECT_EQ(files.files["a.c"], kProgramHead + "\tint nn1;\n\t");
}

// Line ends CR LF translate exactly like LF.
TEST(RunCli, CrLfSourceTranslatesLikeLf) {
  const std::string lf =
      sjis("はじめ\n\t数a=1;\n\tif(数a>0){\n\t\t字s=\"x\";\n\t}\nおわり\n");
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  MemoryFiles with_lf, with_crlf;
  with_lf.files["a.zem"] = lf;
  with_crlf.files["a.zem"] = crlf;
  const CliRun run_lf = run_cli_in_memory({"a.zem"}, with_lf);
  const CliRun run_crlf = run_cli_in_memory({"a.zem"}, with_crlf);
  EXPECT_EQ(run_crlf.status, 0);
  EXPECT_EQ(run_crlf.console, run_lf.console);
  EXPECT_EQ(with_crlf.files["a.c"], with_lf.files["a.c"]);
}

// NUL bytes are ordinary bytes: carried through names, literals and the
// dump, with no effect on where a line or a token ends.
TEST(RunCli, NulBytesAreCarriedThrough) {
  MemoryFiles files;
  files.files["a.zem"] = sjis("数") + std::string("a\0b=1;\n", 7) +
                         sjis("字s") + std::string("=\"\0\";\n\0\n", 8);
  const CliRun run = run_cli_in_memory({"a.zem"}, files);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(
      run.console.find(sjis("name=数") + std::string("a\0b  var=nn1", 12)),
      std::string::npos)
      << utf8(run.console);
  EXPECT_EQ(files.files["a.c"],
            std::string("nn1=1;\nstrcpy(cc2,\"\0\");\n\0\n", 26));
}

// Files whose reads, opens and writes fail on demand.
class FaultyFiles : public Files {
 public:
  MemoryFiles memory;
  int refuse_read_open = 0;    // this open for reading (1, 2) finds nothing
  int failing_open = 0;        // this open's source fails ...
  std::size_t good_bytes = 0;  // ... after handing out this many bytes
  bool refuse_output = false;
  bool full_disk = false;

  std::unique_ptr<ByteSource> open_for_reading(
      const std::string& name) override {
    ++opens_;
    if (opens_ == refuse_read_open) return nullptr;
    std::unique_ptr<ByteSource> source = memory.open_for_reading(name);
    if (source == nullptr || opens_ != failing_open) return source;
    return std::make_unique<FailingSource>(memory.files[name], good_bytes);
  }

  std::unique_ptr<Sink> open_for_writing(const std::string& name,
                                         const std::string& source) override {
    if (refuse_output) return nullptr;
    if (full_disk) return std::make_unique<FullSink>();
    return memory.open_for_writing(name, source);
  }

 private:
  class FailingSource : public ByteSource {
   public:
    FailingSource(std::string_view text, std::size_t good)
        : rest_(text.substr(0, good)) {}
    std::ptrdiff_t read(char* buffer, std::size_t size) override {
      if (rest_.empty()) return -1;
      const std::size_t n = std::min(size, rest_.size());
      rest_.copy(buffer, n);
      rest_.remove_prefix(n);
      return static_cast<std::ptrdiff_t>(n);
    }

   private:
    std::string_view rest_;
  };

  class FullSink : public Sink {
   public:
    bool write(std::string_view) override { return false; }
  };

  int opens_ = 0;
};

TEST(RunCli, FailuresOfTheFileSystemEndWithStatus8) {
  const std::string source = sjis("はじめ\n数a=1;\nおわり\n");
  const std::string dump =
      kDumpHeader + "name=数a  var=nn1  prop=N\n" + kDumpFooter;
  const std::string start = rewriting("a.zem", "a.c");
  const struct {
    const char* what;
    void (*set_up)(FaultyFiles&);
    std::string console;
    bool output_exists;
  } cases[] = {
      {"source unreadable from the start (a folder)",
       [](FaultyFiles& f) { f.failing_open = 1; }, start + missing("a.zem"),
       false},
      {"read error later in the declaration pass",
       [](FaultyFiles& f) { f.failing_open = 1, f.good_bytes = 8; },
       start + reading("a.zem") + missing("a.zem"), false},
      {"source gone before the generation pass",
       [](FaultyFiles& f) { f.refuse_read_open = 2; },
       start + reading("a.zem") + dump + writing("a.c") + missing("a.zem"),
       false},
      {"read error in the generation pass",
       [](FaultyFiles& f) { f.failing_open = 2, f.good_bytes = 8; },
       start + reading("a.zem") + dump + writing("a.c") + missing("a.zem"),
       true},
      {"output cannot be created",
       [](FaultyFiles& f) { f.refuse_output = true; },
       start + reading("a.zem") + dump + writing("a.c") + missing("a.c"),
       false},
      {"output cannot be written (full disk)",
       [](FaultyFiles& f) { f.full_disk = true; },
       start + reading("a.zem") + dump + writing("a.c") + missing("a.c"),
       false},
  };
  for (const auto& c : cases) {
    FaultyFiles files;
    files.memory.files["a.zem"] = source;
    c.set_up(files);
    const CliRun run = run_cli_in_memory({"a.zem"}, files);
    EXPECT_EQ(run.status, 8) << c.what;
    EXPECT_EQ(run.console, sjis(c.console + kFailure)) << c.what << "\n"
                                                       << utf8(run.console);
    expect_one_key_at_the_end(run);
    EXPECT_EQ(files.memory.files.contains("a.c"), c.output_exists) << c.what;
  }
}

}  // namespace
}  // namespace zemuc::testing
