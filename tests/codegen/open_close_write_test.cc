// Opening, closing and writing files.
#include <gtest/gtest.h>

#include "support/codegen.h"

namespace zemuc::testing {
namespace {

// Files 入力 (fp1, read) and 出力 (fp2, write); 数値 nn1, 字名前 cc2.
const Lines kFilesAndVariables = {"\t開く(入力,\"data.txt\",r)\n",
                                  "\t開く(出力,\"out.txt\",w)\n",
                                  "数値,字名前\n"};

TEST(OpenCloseWrite, Statements) {
  expect_generated(
      kFilesAndVariables,
      {
          {"reading: a test and the error exit, echo before each line",
           {"\t開く(入力,\"data.txt\",r)\n"},
           "\tif((fp1 = fopen(\"data.txt\",\"r\")) == NULL){\n"
           "\t\tprintf(\"ファイル%sがないよ．\", \"data.txt\");\n"
           "\t\tgoto ERROR_END;\n"
           "\t}\n"},
          {"reading under two tabs",
           {"\t\t開く(入力,\"data.txt\",r);\n"},
           "\t\tif((fp1 = fopen(\"data.txt\",\"r\")) == NULL){\n"
           "\t\t\tprintf(\"ファイル%sがないよ．\", \"data.txt\");\n"
           "\t\t\tgoto ERROR_END;\n"
           "\t\t}\n"},
          {"a brace and else before the keyword are written four times",
           {"}else{開く(入力,\"data.txt\",r)\n"},
           "}else{if((fp1 = fopen(\"data.txt\",\"r\")) == NULL){\n"
           "}else{\tprintf(\"ファイル%sがないよ．\", \"data.txt\");\n"
           "}else{\tgoto ERROR_END;\n"
           "}else{}\n"},
          {"writing: no test",
           {"\t開く(出力,\"out.txt\",w)\n"},
           "\tfp2 = fopen(\"out.txt\",\"w\");\n"},
          {"close", {"\t閉じる(入力)\n"}, "\tfclose(fp1);\n"},
          {"close does not ask whether the file was opened",
           {"閉じる(出力);\n"},
           "fclose(fp2);\n"},
          {"write a number",
           {"\t書く(出力,数値)\n"},
           "\tfprintf(fp2, \"%d\\n\", nn1);\n"},
          {"write a string",
           {"\t書く(出力,字名前)\n"},
           "\tfprintf(fp2, \"%s\\n\", cc2);\n"},
          {"write ignores the mode and further operands",
           {"書く(入力,数値,字名前);\n"},
           "fprintf(fp1, \"%d\\n\", nn1);\n"},
          {"undeclared file: the echo runs into the next line",
           {"\t閉じる(不明)\n", "\t閉じる(入力)\n"},
           "\t\tfclose(fp1);\n"},
          {"write to an undeclared file: the echo only",
           {"\t書く(不明,数値)\n"},
           "\t"},
          {"write of a name that is no variable: the echo only",
           {"\t書く(出力,値)\n"},
           "\t"},
          {"close without a file", {"閉じる\n"}, ""},
          {"write without a variable", {"書く(出力)\n"}, ""},
      });
}

TEST(OpenCloseWrite, TheFirstEntryOfAFileNameWins) {
  const Lines source = {"開く(記録,\"a.txt\",w)\n", "開く(記録,\"a.txt\",r)\n",
                        "書く(記録,数x)\n", "閉じる(記録)\n"};
  CodegenRun run(source);
  EXPECT_TRUE(SameSjis(run.generate(source).text,
                       "fp1 = fopen(\"a.txt\",\"w\");\n"
                       "fp1 = fopen(\"a.txt\",\"w\");\n"
                       "fprintf(fp1, \"%d\\n\", nn1);\n"
                       "fclose(fp1);\n"));
}

TEST(OpenCloseWrite, PathFromAStringVariable) {
  // 字パス is declared before the file, so the path is its C name.
  const Lines source = {"字パス=\"a.txt\";\n", "開く(入力,字パス,r)\n"};
  CodegenRun run(source);
  EXPECT_TRUE(SameSjis(run.generate({source[1]}).text,
                       "if((fp1 = fopen(cc1,\"r\")) == NULL){\n"
                       "\tprintf(\"ファイル%sがないよ．\", cc1);\n"
                       "\tgoto ERROR_END;\n"
                       "}\n"));
}

TEST(OpenCloseWrite, AFileDeclaredWithAnEmptyNameIsFoundByAnEmptyName) {
  const Lines source = {"開く\n", "閉じる\n"};
  CodegenRun run(source);
  EXPECT_TRUE(SameSjis(run.generate(source).text,
                       "fp1 = fopen(,\"w\");\n"
                       "fclose(fp1);\n"));
}

}  // namespace
}  // namespace zemuc::testing
