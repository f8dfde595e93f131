// No false alarms: the programs that the project ships and the valid
// programs of the test suite check clean.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "check/check_support.h"
#include "support/codegen.h"

namespace zemuc::testing {
namespace {

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

const std::filesystem::path kRoot =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();

TEST(CheckClean, EveryExampleAndTheTypicalProgram) {
  std::vector<std::filesystem::path> programs = {kRoot / "tests" / "e2e" /
                                                 "golden" / "typical.zem"};
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(kRoot / "examples")) {
    if (entry.path().extension() == ".zem") programs.push_back(entry.path());
  }
  ASSERT_GE(programs.size(), 8u);
  for (const std::filesystem::path& program : programs) {
    EXPECT_EQ(check::check_source(read_file(program)),
              std::vector<check::Finding>{})
        << program;
  }
}

// Valid programs of the translator's own tests, some of them large.
TEST(CheckClean, ValidProgramsOfTheTestSuite) {
  std::string many_files = "はじめ\n";
  for (int i = 1; i <= 120; ++i) {
    const std::string n = std::to_string(i);
    many_files += "\t開く(出力" + n + ",\"f" + n + ".txt\",w);\n";
  }
  for (int i = 1; i <= 120; ++i) {
    many_files +=
        "\tくり返し(2){\n\t\t閉じる(出力" + std::to_string(i) + ");\n\t}\n";
  }
  std::string nested = "はじめ\n";
  for (int i = 0; i < 10'000; ++i) nested += "くり返し(2){\n";
  nested += "見る(\"in\");\n";
  for (int i = 0; i < 10'000; ++i) nested += "}\n";
  std::string variables = "はじめ\n";
  for (int i = 1; i <= 100'000; ++i) {
    variables += "\t数v" + std::to_string(i) + "=" + std::to_string(i) + ";\n";
  }
  for (const std::string& program :
       {std::string("はじめ\n\t数a=1;\n\t見る(\"a\",数a);\nおわり\n"),
        std::string(
            "はじめ\n\t数a=1;\n\tif(数a>0){\n\t\t字s=\"x\";\n\t}\nおわり\n"),
        std::string("はじめ\nおわり\n"),
        std::string(
            "はじめ\n打つ(数a);\n数b=数a*2;\n字s=\"ok\";\n見る(\"倍\",数b);\n"
            "見る(\"結果\",字s);\nおわり\n"),
        std::string(
            "はじめ\n数n=3;\n字s=\"abc\";\n開く(出力,\"out.txt\",w);\n"
            "くり返し(数n){\n書く(出力,字s);\n}\n閉じる(出力);\nおわり\n"),
        many_files + "おわり\n", nested + "おわり\n", variables + "おわり\n"}) {
    EXPECT_EQ(check_utf8(program), std::vector<check::Finding>{})
        << program.substr(0, 200);
  }
}

// Blanks outside quotes and a whole comment after the ';' are harmless;
// the one space inside quotes is not.
TEST(CheckClean, BlanksOutsideQuotesAndCommentsAfterTheEnd) {
  const std::string source =
      "はじめ\n"
      "\t数n = 2 ;   /* the count */\n"
      "\tくり返し ( 数n ) {\n"
      "\t\t字m = \"x y\" ;  // dropped, harmless\n"
      "\t\tif ( 数n >= 1 ) {\n"
      "\t\t\t見る ( \"m\" , 字m ) ;\n"
      "\t\t} else {\n"
      "\t\t\t数n = 0 ;\n"
      "\t\t}\n"
      "\t}\n"
      "おわり\n";
  EXPECT_EQ(check_utf8(source),
            (std::vector<check::Finding>{
                finding(4, 10, check::Problem::kSpacesInQuotes, "\"xy\"")}));
}

}  // namespace
}  // namespace zemuc::testing
