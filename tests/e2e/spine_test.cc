// The built translator run as a user runs it, in a scratch folder: console
// bytes, exit status and the written file, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/expected.h"
#include "support/run.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

const std::string kSource =
    "はじめ\n"
    "\t数a = 3;\n"
    "\t字s = \"a b\";   /* dropped after the semicolon */\n"
    "\tif (数a > 2) {\n"
    "\t\t数b = 数a * 2 + 1;\n"
    "\t\t字t = 字s;\n"
    "\t} else {\n"
    "\t\t数b = 0;\n"
    "\t}\n"
    "/* comment */\n"
    "\n"
    "おわり\n";

const std::string kConsole =
    "いま，keisan.zemをkeisan.cに書き換えとるきね．\n"
    "keisan.zem を読みゆう．\n" +
    kDumpHeader +
    "name=数a  var=nn1  prop=N\n"
    "name=字s  var=cc2  prop=C\n"
    "name=数b  var=nn3  prop=N\n"
    "name=字t  var=cc4  prop=C\n" +
    kDumpFooter +
    "keisan.c へ書きゆう．\n"
    "cに書き換えたきね．\n";

const std::string kProgram = kProgramHead +
                             "\tint nn1;\n"
                             "\tchar cc2[256];\n"
                             "\tint nn3;\n"
                             "\tchar cc4[256];\n"
                             "\tnn1=3;\n"
                             "\tstrcpy(cc2,\"ab\");\n"
                             "\tif(nn1>2){\n"
                             "\t\tnn3=nn1*2+1;\n"
                             "\t\tstrcpy(cc4,cc2);\n"
                             "\t}else {\n"
                             "\t\tnn3=0;\n"
                             "\t}\n"
                             "/*comment*/\n"
                             "\n" +
                             kProgramTail;

std::string with_crlf(const std::string& text) {
  std::string out;
  for (char c : text)
    out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

TEST(Spine, TranslatesAProgramByteForByte) {
  for (const bool crlf : {false, true}) {
    ScratchDir dir;
    dir.write("keisan.zem", crlf ? with_crlf(sjis(kSource)) : sjis(kSource));
    const RunResult r = run_translator({"keisan.zem"}, dir.path());
    EXPECT_EQ(r.status, 0) << "crlf " << crlf;
    EXPECT_EQ(r.out, sjis(kConsole)) << utf8(r.out);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(dir.read("keisan.c"), sjis(kProgram))
        << utf8(dir.read("keisan.c"));
  }
}

// The key read meets the end of standard input and the run still ends.
TEST(Spine, EndsWhenStandardInputIsEmpty) {
  ScratchDir dir;
  dir.write("keisan.zem", sjis(kSource));
  const RunResult r = run_translator({"keisan.zem"}, dir.path(), "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, sjis(kConsole));
}

TEST(Spine, EmptySourceMakesAnEmptyProgram) {
  ScratchDir dir;
  dir.write("a.zem", "");
  const RunResult r = run_translator({"a.zem"}, dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, sjis("いま，a.zemをa.cに書き換えとるきね．\n"
                        "a.zem を読みゆう．\n" +
                        kDumpHeader + kDumpFooter +
                        "a.c へ書きゆう．\n"
                        "cに書き換えたきね．\n"));
  EXPECT_EQ(r.err, "");
  ASSERT_TRUE(dir.exists("a.c"));
  EXPECT_EQ(dir.read("a.c"), "");
}

TEST(Spine, ReplacesAnExistingOutput) {
  ScratchDir dir;
  dir.write("a.zem", sjis("数a=1;\n"));
  dir.write("a.c", std::string(10000, 'x'));
  EXPECT_EQ(run_translator({"a.zem"}, dir.path()).status, 0);
  EXPECT_EQ(dir.read("a.c"), "nn1=1;\n");
}

// A missing source and a source that is a folder read alike: no dump and
// no output file.
TEST(Spine, SourceThatCannotBeReadLeavesNoOutput) {
  for (const bool folder : {false, true}) {
    ScratchDir dir;
    if (folder) std::filesystem::create_directory(dir.path() / "a.zem");
    const RunResult r = run_translator({"a.zem"}, dir.path());
    EXPECT_EQ(r.status, 8) << "folder " << folder;
    EXPECT_EQ(r.out, sjis("いま，a.zemをa.cに書き換えとるきね．\n"
                          "a.zem なんて無いぜ．\n" +
                          kFailure))
        << utf8(r.out);
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(dir.exists("a.c"));
  }
}

TEST(Spine, OutputThatCannotBeCreated) {
  ScratchDir dir;
  dir.write("a.zem", sjis("数a=1;\n"));
  std::filesystem::create_directory(dir.path() / "a.c");
  const RunResult r = run_translator({"a.zem"}, dir.path());
  EXPECT_EQ(r.status, 8);
  EXPECT_EQ(r.out,
            sjis("いま，a.zemをa.cに書き換えとるきね．\n"
                 "a.zem を読みゆう．\n" +
                 kDumpHeader + "name=数a  var=nn1  prop=N\n" + kDumpFooter +
                 "a.c へ書きゆう．\n"
                 "a.c なんて無いぜ．\n" +
                 kFailure))
      << utf8(r.out);
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "a.c"));
}

TEST(Spine, RejectedLineKeepsTheTextWrittenBeforeIt) {
  ScratchDir dir;
  dir.write("a.zem", sjis("数a=1;\n見る();\n数a=2;\n"));
  const RunResult r = run_translator({"a.zem"}, dir.path());
  EXPECT_EQ(r.status, 8);
  EXPECT_TRUE(r.out.ends_with(sjis("次の行おかしい\n見る();\n" + kFailure)))
      << utf8(r.out);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(dir.read("a.c"), "nn1=1;\n");
}

// NUL bytes do not end a line or the source; they are carried through.
TEST(Spine, NulBytesAreOrdinaryBytes) {
  ScratchDir dir;
  dir.write("a.zem", std::string("x\0y;\n\0\nz\n", 9));
  const RunResult r = run_translator({"a.zem"}, dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(dir.read("a.c"), std::string("x\0y;\n\0\nz\n", 9));
}

// A line far longer than any read buffer is translated whole.
TEST(Spine, LongLineIsOneLine) {
  ScratchDir dir;
  std::string line = sjis("数a=");
  for (int i = 0; i < 50000; ++i) line += sjis("数a+");
  line += "1;\n";
  dir.write("a.zem", line);
  const RunResult r = run_translator({"a.zem"}, dir.path());
  EXPECT_EQ(r.status, 0);
  std::string expected = "nn1=";
  for (int i = 0; i < 50000; ++i) expected += "nn1+";
  expected += "1;\n";
  EXPECT_EQ(dir.read("a.c"), expected);
}

}  // namespace
}  // namespace zemuc::testing
