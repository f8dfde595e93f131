#include "symbols/declare.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/dump.h"
#include "support/expected.h"
#include "support/lines.h"
#include "support/sjis.h"
#include "symbols/declare_raw.h"
#include "symbols/tables.h"

namespace zemuc::testing {
namespace {

// The whole console dump, Shift-JIS, after the declaration scan of the lines
// (UTF-8, one per element): of each TokenLine, or of each line where it lies
// as the declaration pass scans it.
std::string dump_after(const std::vector<std::string>& lines,
                       bool raw_lines = false) {
  SymbolTables tables;
  TokenLine line;
  for (const std::string& text : lines) {
    if (raw_lines) {
      declare_raw_line(tables, line, RawLine(sjis(text)).view());
    } else {
      set_line(line, sjis(text));
      declare_line(tables, line);
    }
  }
  return dump_of(tables);
}

// The dump without its header and footer, in UTF-8.
std::string declared(const std::vector<std::string>& lines,
                     bool raw_lines = false) {
  const std::string console = dump_after(lines, raw_lines);
  EXPECT_TRUE(console.starts_with(kDumpHeader) &&
              console.ends_with(kDumpFooter));
  return utf8(
      console.substr(kDumpHeader.size(),
                     console.size() - kDumpHeader.size() - kDumpFooter.size()));
}

struct DeclareCase {
  const char* what;
  std::vector<std::string> lines;
  std::string dump;  // the dump's entry lines
};

void PrintTo(const DeclareCase& c, std::ostream* os) { *os << c.what; }

class Declare : public ::testing::TestWithParam<DeclareCase> {};

TEST_P(Declare, FillsTheTables) {
  EXPECT_EQ(declared(GetParam().lines), GetParam().dump);
}

TEST_P(Declare, FillsTheTablesFromRawLines) {
  EXPECT_EQ(declared(GetParam().lines, true), GetParam().dump);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Declare,
    ::testing::Values(
        DeclareCase{"nothing to declare", {"はじめ\n", "}\n", "おわり\n"}, ""},
        DeclareCase{"one entry per name, at its first mention",
                    {"数b=1;\n", "数a=数b;\n", "数b=数a+数b;\n"},
                    "name=数b  var=nn1  prop=N\n"
                    "name=数a  var=nn2  prop=N\n"},
        DeclareCase{"numeric and string variables share one numbering",
                    {"数n=1;\n", "字s=\"a\";\n", "数m=数n;\n"},
                    "name=数n  var=nn1  prop=N\n"
                    "name=字s  var=cc2  prop=C\n"
                    "name=数m  var=nn3  prop=N\n"},
        DeclareCase{"the mark alone is a name",
                    {"数=1;\n"},
                    "name=数  var=nn1  prop=N\n"},
        DeclareCase{"the exclamation mark belongs to the name",
                    {"if(数a!=数a){\n"},
                    "name=数a!  var=nn1  prop=N\n"
                    "name=数a  var=nn2  prop=N\n"},
        DeclareCase{
            "a name joined to else is no name", {"} else 数a=1;\n"}, ""},
        DeclareCase{"nothing after the first semicolon",
                    {"数a=1;数b=2;\n"},
                    "name=数a  var=nn1  prop=N\n"},
        DeclareCase{"names inside quotes are text", {"見る(\"数a\");\n"}, ""},
        DeclareCase{"every repeat keyword is one counter",
                    {"くり返し(3){くり返し(2){\n", "くり返し(数n){\n"},
                    "name=数n  var=nn1  prop=N\n"
                    "name=復1  var=rep1  prop=N\n"
                    "name=復2  var=rep2  prop=N\n"
                    "name=復3  var=rep3  prop=N\n"},
        DeclareCase{"the same file opened twice has two entries",
                    {"開く(出力,\"a.txt\",w);\n", "開く(出力,\"b.txt\",r);\n"},
                    "name=出力  fname=\"a.txt\"  var=fp1  prop=w\n"
                    "name=出力  fname=\"b.txt\"  var=fp2  prop=r\n"},
        DeclareCase{"only a bare r opens for reading",
                    {"開く(甲,\"a\",\"r\");\n", "開く(乙,\"a\",R);\n",
                     "開く(丙,\"a\",rr);\n", "開く(丁,\"a\",r);\n"},
                    "name=甲  fname=\"a\"  var=fp1  prop=w\n"
                    "name=乙  fname=\"a\"  var=fp2  prop=w\n"
                    "name=丙  fname=\"a\"  var=fp3  prop=w\n"
                    "name=丁  fname=\"a\"  var=fp4  prop=r\n"},
        DeclareCase{"a path variable declared on an earlier line",
                    {"字p=\"in.txt\";\n", "開く(入力,字p,r);\n"},
                    "name=字p  var=cc1  prop=C\n"
                    "name=入力  fname=cc1  var=fp1  prop=r\n"},
        DeclareCase{"a path variable first mentioned on the same line",
                    {"開く(出力,字p,w);\n"},
                    "name=字p  var=cc1  prop=C\n"
                    "name=出力  fname=字p  var=fp1  prop=w\n"},
        DeclareCase{"a path variable earlier on the same line",
                    {"字p=\"x\";開く(出力,字p,w);\n",
                     "\t字q=字p+1,開く(出力,字q,w);\n"},
                    "name=字p  var=cc1  prop=C\n"
                    "name=字q  var=cc2  prop=C\n"
                    "name=出力  fname=cc2  var=fp1  prop=w\n"},
        DeclareCase{"a file name with a mark is also a variable",
                    {"開く(字f,\"a.txt\",r);\n"},
                    "name=字f  var=cc1  prop=C\n"
                    "name=字f  fname=\"a.txt\"  var=fp1  prop=r\n"},
        DeclareCase{"missing tokens after the open keyword are empty",
                    {"開く(甲,\"a.txt\",r);\n", "開く(乙);\n", "開く\n"},
                    "name=甲  fname=\"a.txt\"  var=fp1  prop=r\n"
                    "name=乙  fname=  var=fp2  prop=w\n"
                    "name=  fname=  var=fp3  prop=w\n"}));

// The worked example, dump byte for byte.
TEST(Dump, WorkedExample) {
  EXPECT_EQ(
      dump_after({"はじめ\n", "数n=3;\n", "字s=\"abc\";\n",
                  "開く(出力,\"out.txt\",w);\n", "くり返し(数n){\n",
                  "書く(出力,字s);\n", "}\n", "閉じる(出力);\n", "おわり\n"}),
      sjis(kDumpHeader +
           "name=数n  var=nn1  prop=N\n"
           "name=字s  var=cc2  prop=C\n"
           "name=出力  fname=\"out.txt\"  var=fp1  prop=w\n"
           "name=復1  var=rep1  prop=N\n" +
           kDumpFooter));
}

TEST(Dump, EmptyTablesShowHeaderAndFooter) {
  EXPECT_EQ(dump_after({}), kDumpHeader + kDumpFooter);
}

}  // namespace
}  // namespace zemuc::testing
