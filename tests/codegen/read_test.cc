// Reading one line, and the loop over every line of a file.
#include <gtest/gtest.h>

#include "support/codegen.h"

namespace zemuc::testing {
namespace {

// Files 入力 (fp1, read) and 出力 (fp2, write); 数値 nn1, 字名前 cc2.
const Lines kFilesAndVariables = {"開く(入力,\"data.txt\",r)\n",
                                  "開く(出力,\"out.txt\",w)\n",
                                  "数値,字名前\n"};

TEST(Read, Statements) {
  expect_generated(
      kFilesAndVariables,
      {
          {"one line into a number",
           {"\t読む(入力,数値)\n"},
           "\tif( fgets(dummy, 80, fp1) == NULL) {\n"
           "\t\tprintf(\"データ読みすぎ．\");\n"
           "\t\tgoto ERROR_END;\n"
           "\t}\n"
           "\tnn1 = atoi(dummy);\n"},
          {"one line into a string",
           {"\t読む(入力,字名前);\n"},
           "\tif( fgets(dummy, 80, fp1) == NULL) {\n"
           "\t\tprintf(\"データ読みすぎ．\");\n"
           "\t\tgoto ERROR_END;\n"
           "\t}\n"
           "\tdelkai(dummy);strcpy(cc2, dummy);\n"},
          {"a file opened for writing is read all the same",
           {"読む(出力,数値)\n"},
           "if( fgets(dummy, 80, fp2) == NULL) {\n"
           "\tprintf(\"データ読みすぎ．\");\n"
           "\tgoto ERROR_END;\n"
           "}\n"
           "nn1 = atoi(dummy);\n"},
          {"undeclared file: only the if line is left out",
           {"\t読む(不明,数値)\n"},
           "\t\t\tprintf(\"データ読みすぎ．\");\n"
           "\t\tgoto ERROR_END;\n"
           "\t}\n"
           "\tnn1 = atoi(dummy);\n"},
          {"undeclared variable: the last echo runs into the next line",
           {"\t読む(入力,値)\n", "数値=1;\n"},
           "\tif( fgets(dummy, 80, fp1) == NULL) {\n"
           "\t\tprintf(\"データ読みすぎ．\");\n"
           "\t\tgoto ERROR_END;\n"
           "\t}\n"
           "\tnn1=1;\n"},
          {"no operands at all",
           {"読む\n"},
           "\tprintf(\"データ読みすぎ．\");\n"
           "\tgoto ERROR_END;\n"
           "}\n"},
          {"loop over a file into a string, closed by the source's brace",
           {"\t読みきり(入力,字名前)\n", "\t\t書く(出力,字名前)\n", "\t}\n"},
           "\twhile( fgets(dummy, 80, fp1) != NULL) {\n"
           "\t    delkai(dummy);strcpy(cc2, dummy);\n"
           "\t\tfprintf(fp2, \"%s\\n\", cc2);\n"
           "\t}\n"},
          {"loop into a number, the source's brace dropped",
           {"\t読みきり(入力,数値){\n"},
           "\twhile( fgets(dummy, 80, fp1) != NULL) {\n"
           "\t    nn1 = atoi(dummy);\n"},
          {"loop over an undeclared file",
           {"\t読みきり(不明,数値)\n"},
           "\t\t    nn1 = atoi(dummy);\n"},
          {"loop into an undeclared variable leaves the indent open",
           {"読みきり(入力,値)\n", "}\n"},
           "while( fgets(dummy, 80, fp1) != NULL) {\n"
           "    }\n"},
      });
}

TEST(Read, TheFirstEntryOfAFileNameWins) {
  CodegenRun run(
      {"開く(記録,\"a.txt\",w)\n", "開く(記録,\"a.txt\",r)\n", "数x\n"});
  EXPECT_TRUE(SameSjis(run.generate({"読みきり(記録,数x)\n"}).text,
                       "while( fgets(dummy, 80, fp1) != NULL) {\n"
                       "    nn1 = atoi(dummy);\n"));
}

}  // namespace
}  // namespace zemuc::testing
