// Whole programs through the executable: the C file written, the console
// and the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/codegen.h"
#include "support/expected.h"
#include "support/run.h"
#include "support/sjis.h"

namespace zemuc::testing {
namespace {

std::string golden(const std::string& name) {
  const std::filesystem::path path =
      std::filesystem::path(__FILE__).parent_path() / "golden" / name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The console of a run up to the start of the generation pass.
std::string console_until_writing(const std::string& stem,
                                  const std::string& dump) {
  return "いま，" + stem + ".zemを" + stem + ".cに書き換えとるきね．\n" + stem +
         ".zem を読みゆう．\n" + kDumpHeader + dump + kDumpFooter + stem +
         ".c へ書きゆう．\n";
}

// With carriage returns before the line feeds, as a source saved on
// Windows has them.
std::string with_crlf(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(Statements, TypicalProgramTranslatesByteForByte) {
  const std::string source = golden("typical.zem");
  const std::string expected_c = golden("typical.c");
  // The readable comparison below goes through UTF-8 and back.
  ASSERT_EQ(sjis(utf8(expected_c)), expected_c);
  for (const std::string& bytes : {source, with_crlf(source)}) {
    SCOPED_TRACE(bytes == source ? "LF line ends" : "CR LF line ends");
    ScratchDir dir;
    dir.write("typical.zem", bytes);
    const RunResult r = run_translator({"typical.zem"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(SameSjis(dir.read("typical.c"), utf8(expected_c)));
    EXPECT_TRUE(SameSjis(
        r.out,
        console_until_writing("typical",
                              "name=数a  var=nn1  prop=N\n"
                              "name=数b  var=nn2  prop=N\n"
                              "name=字s  var=cc3  prop=C\n"
                              "name=数c  var=nn4  prop=N\n"
                              "name=字t  var=cc5  prop=C\n"
                              "name=出力  fname=\"out.txt\"  var=fp1  prop=w\n"
                              "name=入力  fname=\"in.txt\"  var=fp2  prop=r\n"
                              "name=復1  var=rep1  prop=N\n") +
            "cに書き換えたきね．\n"));
  }
}

struct Rejected {
  const char* what;
  std::string source;    // UTF-8
  std::string bad_line;  // the rejected line as read
  std::string written;   // what the C file keeps
  std::string dump;
};

TEST(Statements, RejectedDisplayLineStopsTheTranslation) {
  std::string many_lines;
  std::string many_written;
  // Far more than the output buffers at once.
  for (int i = 0; i < 20000; ++i) {
    many_lines += "\t数a=数a+1;\n";
    many_written += "\tnn1=nn1+1;\n";
  }
  const Rejected cases[] = {
      {"the echo of the rejected line stays in the file",
       "はじめ\n\t数a=1;\n\t見る();\n\t数a=2;\nおわり\n", "\t見る();\n",
       kProgramHead + "\tint nn1;\n\tnn1=1;\n\t",
       "name=数a  var=nn1  prop=N\n"},
      {"a bare keyword leaves nothing of its line",
       "はじめ\n見る(\"ok\");\n見る;\n", "見る;\n",
       kProgramHead + "printf(\"%s\\n\", \"ok\");\n", ""},
      // The reader completes a last line with its line feed, so the
      // failure text still starts on a line of its own.
      {"a last line without a line end is shown on a line of its own",
       "はじめ\n\t見る()", "\t見る()\n", kProgramHead + "\t", ""},
      {"a long program keeps every byte written before",
       "はじめ\n" + many_lines + "\t\t見る(,);\n" + many_lines,
       "\t\t見る(,);\n", kProgramHead + "\tint nn1;\n" + many_written + "\t\t",
       "name=数a  var=nn1  prop=N\n"},
  };
  for (const Rejected& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.write("bad.zem", sjis(c.source));
    const RunResult r = run_translator({"bad.zem"}, dir.path());
    EXPECT_EQ(r.status, 8);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(SameSjis(
        r.out, console_until_writing("bad", c.dump) + "次の行おかしい\n" +
                   c.bad_line +
                   "ちゃんと，約束を見ちゅう？　見直し，しとおせ．\n"));
    EXPECT_TRUE(SameSjis(dir.read("bad.c"), c.written));
  }
}

TEST(Statements, MoreThanNinetyNineLoopsAndFiles) {
  constexpr int kMany = 120;
  std::string source = "はじめ\n";
  std::string dump;
  std::string files;
  std::string counters;
  std::string body;
  for (int i = 1; i <= kMany; ++i) {
    const std::string n = std::to_string(i);
    source += "\t開く(出力" + n + ",\"f" + n + ".txt\",w);\n";
    dump += "name=出力" + n + "  fname=\"f" + n + ".txt\"  var=fp" + n +
            "  prop=w\n";
    files += "\tFILE *fp" + n + ";\n";
    body += "\tfp" + n + " = fopen(\"f" + n + ".txt\",\"w\");\n";
  }
  for (int i = 1; i <= kMany; ++i) {
    const std::string n = std::to_string(i);
    source += "\tくり返し(2){\n\t\t閉じる(出力" + n + ");\n\t}\n";
    counters += "\tint rep" + n + ";\n";
    body += "\tfor(rep" + n + " = 1 ; rep" + n + " <= 2 ; rep" + n +
            "++) {\n\t\tfclose(fp" + n + ");\n\t}\n";
  }
  for (int i = 1; i <= kMany; ++i) {
    dump += "name=復" + std::to_string(i) + "  var=rep" + std::to_string(i) +
            "  prop=N\n";
  }
  source += "おわり\n";

  ScratchDir dir;
  dir.write("many.zem", sjis(source));
  const RunResult r = run_translator({"many.zem"}, dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(SameSjis(dir.read("many.c"),
                       kProgramHead + files + counters + body + kProgramTail));
  EXPECT_TRUE(SameSjis(
      r.out, console_until_writing("many", dump) + "cに書き換えたきね．\n"));
}

}  // namespace
}  // namespace zemuc::testing
