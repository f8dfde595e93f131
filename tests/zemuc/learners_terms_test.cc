// What zemuc run tells a learner stays in the learner's terms when the
// program's shape is wrong (the only test that asserts those texts), when
// one mistake makes the compiler say more, and when a check stops the
// program: with gcc and with clang, the whole of what is said, in English
// and in Japanese.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run.h"
#include "zemuc/run_zemuc.h"

namespace zemuc::testing {
namespace {

// The compilers to try: gcc always, clang where it is installed.
std::vector<std::string> compilers() {
  std::vector<std::string> found = {"gcc"};
  if (run_program("/bin/sh", {"-c", "command -v clang"}, "", ".").status == 0) {
    found.push_back("clang");
  }
  return found;
}

struct Case {
  const char* what;
  const char* source;
  const char* input;
  int status;
  // All that zemuc says before its closing line about the build (which
  // names the compiler) or the report; where the compilers place a message
  // differently, empty, and `has` is what it says.
  std::string said;
  bool japanese = false;
  const char* has = "";
  const char* only_with = "";  // the one compiler to try; empty: each
};

// What zemuc said before its closing line: "zemuc: p.zem does not build
// (...)" or "zemuc: the checks' whole report: ...".
std::string before_closing_line(const std::string& err) {
  const std::size_t last = err.rfind("zemuc: ");
  return last == std::string::npos ? err : err.substr(0, last);
}

void run_cases(const std::vector<Case>& cases) {
  for (const std::string& cc : compilers()) {
    for (const Case& c : cases) {
      if (*c.only_with != '\0' && cc != c.only_with) continue;
      SCOPED_TRACE(std::string(c.what) + " with " + cc);
      ScratchDir dir;
      dir.write("p.zem", c.source);
      std::vector<std::string> environment = {"CC=" + cc};
      if (c.japanese) environment.push_back("LC_ALL=ja_JP.UTF-8");
      const RunResult r =
          run_zemuc({"run", "p.zem"}, dir.path(), c.input, environment);
      EXPECT_EQ(r.status, c.status) << r.err;
      if (*c.has == '\0') {
        EXPECT_EQ(before_closing_line(r.err), c.said);
      } else {
        EXPECT_NE(r.err.find(c.has), std::string::npos) << r.err;
      }
    }
  }
}

const std::string kNoBegin =
    "p.zem:1:1: warning: there is no はじめ line, so the C has no main and "
    "does not build. Write はじめ on the first line.\n"
    "\t見る(\"a\");\n"
    "^\n";

TEST(LearnersTerms, TheShapeOfTheProgramIsOneErrorEach) {
  run_cases({
      {"no はじめ", "\t見る(\"a\");\n", "", 1,
       kNoBegin +
           "p.zem: error: the program has no はじめ line: a program begins "
           "with はじめ and ends with おわり\n"},
      {"no おわり", "はじめ\n\t見る(\"a\");\n", "", 1,
       "p.zem:2:1: warning: there is no おわり line, so main is never closed "
       "and the C does not build. Write おわり on the last line.\n"
       "\t見る(\"a\");\n"
       "^\n"
       "p.zem: error: the program has no おわり line: a program begins with "
       "はじめ and ends with おわり\n"},
      {"はじめ twice", "はじめ\nはじめ\n\t見る(\"a\");\nおわり\n", "", 1,
       "p.zem:2:1: warning: a second はじめ writes the head of the C (the "
       "includes and main) again, so the C does not build. Keep one はじめ.\n"
       "はじめ\n"
       "^\n"
       "p.zem:2:1: error: a second はじめ: a program has one はじめ, at its "
       "start\n"
       "はじめ\n"
       "^\n"},
      {"おわり twice", "はじめ\n\t見る(\"a\");\nおわり\nおわり\n", "", 1,
       "p.zem:4:1: warning: a second おわり writes the end of the C again, so "
       "the C does not build. Keep one おわり.\n"
       "おわり\n"
       "^\n"
       "p.zem:4:1: error: a second おわり: a program has one おわり, at its "
       "end\n"
       "おわり\n"
       "^\n"},
      {"a line after おわり",
       "はじめ\n\t見る(\"a\");\nおわり\n\t見る(\"b\");\n", "", 1,
       "p.zem:4:2: warning: lines after おわり are written outside main, "
       "where nothing runs: most of them stop the C from building. Move them "
       "before おわり.\n"
       "\t見る(\"b\");\n"
       "\t^\n"
       "p.zem:4:2: error: this line stands after おわり: the program's lines "
       "go between はじめ and おわり\n"
       "\t見る(\"b\");\n"
       "\t^\n"},
      {"おわり before はじめ", "おわり\n\t見る(\"a\");\nはじめ\n", "", 1,
       "p.zem:1:1: warning: おわり comes before はじめ, so the end of the C is "
       "written before its head and the C does not build. Write おわり on "
       "the last line.\n"
       "おわり\n"
       "^\n"
       "p.zem:2:2: warning: lines before はじめ are written outside main, "
       "where nothing runs: most of them stop the C from building. Move them "
       "after はじめ.\n"
       "\t見る(\"a\");\n"
       "\t^\n"
       "p.zem:3:1: warning: there is no おわり line, so main is never closed "
       "and the C does not build. Write おわり on the last line.\n"
       "はじめ\n"
       "^\n"
       "p.zem:1:1: error: おわり comes before はじめ: a program begins with "
       "はじめ and ends with おわり\n"
       "おわり\n"
       "^\n"
       "p.zem:2:2: error: this line stands before はじめ: the program's lines "
       "go between はじめ and おわり\n"
       "\t見る(\"a\");\n"
       "\t^\n"
       "p.zem: error: the program has no おわり line: a program begins with "
       "はじめ and ends with おわり\n"},
      {"a くり返し before はじめ",
       "くり返し(2){\nはじめ\n\t見る(\"a\");\nおわり\n", "", 1,
       "p.zem:1:1: warning: a くり返し before はじめ uses a loop counter that "
       "was never declared, so the C does not build. Move it after はじめ.\n"
       "くり返し(2){\n"
       "^\n"
       "p.zem:1:1: warning: the block opened here is not closed by the end of "
       "the program, so the C does not build. Write a } line where the block "
       "ends.\n"
       "くり返し(2){\n"
       "^\n"
       "p.zem:1:1: error: a くり返し before はじめ: it goes between はじめ and "
       "おわり\n"
       "くり返し(2){\n"
       "^\n"
       "p.zem:1:1: error: the braces do not pair: the { on this line, or one "
       "inside it, is never closed by a }\n"
       "くり返し(2){\n"
       "^\n"},
      {"an empty program: only the linker misses main", "", "", 1,
       "p.zem:1:1: warning: there is no はじめ line, so the C has no main and "
       "does not build. Write はじめ on the first line.\n"
       "\n"
       "^\n"
       "p.zem: error: the program has no はじめ line: a program begins "
       "with はじめ and ends with おわり\n"},
      {"no おわり, and an error of its own before",
       "はじめ\n\t値=1;\n\t見る(\"a\");\n", "", 1,
       "p.zem:3:1: warning: there is no おわり line, so main is never closed "
       "and the C does not build. Write おわり on the last line.\n"
       "\t見る(\"a\");\n"
       "^\n"
       "p.zem:2:2: error: 値 is not a variable: a variable's name begins with "
       "数 (for a number) or 字 (for a text), as in 数値 or 字値\n"
       "\t値=1;\n"
       "\t^\n"
       "p.zem: error: the program has no おわり line: a program begins with "
       "はじめ and ends with おわり\n"},
      {"a block inside the program never closed",
       "はじめ\n\tくり返し(3){\n\t\t見る(\"x\");\nおわり\n", "", 1,
       "p.zem:2:2: warning: the block opened here is not closed by the end of "
       "the program, so the C does not build. Write a } line where the block "
       "ends.\n"
       "\tくり返し(3){\n"
       "\t^\n"
       "p.zem:2:2: error: the braces do not pair: the { on this line, or one "
       "inside it, is never closed by a }\n"
       "\tくり返し(3){\n"
       "\t^\n"},
      {"a } that closes no {, after an error of its own",
       "はじめ\n\t値=1;\n\t}\n\t見る(\"y\");\nおわり\n", "", 1,
       "p.zem:3:2: warning: this } closes no block, so the C does not build. "
       "Remove it.\n"
       "\t}\n"
       "\t^\n"
       "p.zem:2:2: error: 値 is not a variable: a variable's name begins with "
       "数 (for a number) or 字 (for a text), as in 数値 or 字値\n"
       "\t値=1;\n"
       "\t^\n"
       "p.zem:3:2: error: the braces do not pair: this } closes no {\n"
       "\t}\n"
       "\t^\n"},
      {"no はじめ, in Japanese", "\t見る(\"a\");\n", "", 1,
       "p.zem:1:1: warning: はじめ の行がないので、Cに main "
       "がなく、Cができません。最初の行に はじめ と書いてください。\n"
       "\t見る(\"a\");\n"
       "^\n"
       "p.zem: error: プログラムに はじめ の行がありません。プログラムは "
       "はじめ で始めて おわり で終えます\n",
       true},
  });
}

TEST(LearnersTerms, OneMistakeIsOneError) {
  run_cases({
      {"a full-width ; before a statement",
       "はじめ\n\t数a=3；\n\t見る(\"a\",数a);\nおわり\n", "", 1,
       "p.zem:2:6: error: ； is a full-width character, which C does not "
       "read: write the half-width ;\n"
       "\t数a=3；\n"
       "\t     ^\n"},
      {"a text in quotes put into a number variable",
       "はじめ\n\t数a=\"5\";\n\t見る(\"a\",数a);\nおわり\n", "", 1,
       "p.zem:2:4: error: 数a holds a number, and the text \"5\" cannot be "
       "put into it: write the number without quotes, 数a=5;, or keep the "
       "text in a variable that begins with 字, 字a=\"5\";\n"
       "\t数a=\"5\";\n"
       "\t   ^\n"},
      {"the same in Japanese", "はじめ\n\t数a=\"5\";\nおわり\n", "", 1,
       "p.zem:2:4: error: 数a は数を入れる変数なので、文字 \"5\" "
       "は入りません。数なら \" を付けずに 数a=5; と、文字なら 字 "
       "で始まる変数に 字a=\"5\"; と書きます\n"
       "\t数a=\"5\";\n"
       "\t   ^\n",
       true},
      {"a file read that no 開く opened, in Japanese",
       "はじめ\n\t読む(入力,数a);\n\t見る(\"a\",数a);\nおわり\n", "", 1, "",
       true,
       "p.zem:2:5: error: 入力 は 開く "
       "で開いたファイルではありません。読む前に "
       "開く(入力,\"ファイル名\",r) で開いてください\n"},
      {"an if without its ), in Japanese",
       "はじめ\n\t数a=1;\n\tif(数a==1{\n\t\t見る(\"a\",数a);\n\t}\nおわり\n",
       "", 1,
       // gcc names the { before which it expected the ), clang does not.
       "", true, "。( には、それを閉じる ) が要ります\n\tif(数a==1{\n"},
      {"an else without an if, in Japanese",
       "はじめ\n\t数a=1;\n\telse{\n\t\t見る(\"a\",数a);\n\t}\nおわり\n", "", 1,
       "p.zem:3:2: error: この else の前に if がありません。else は if の { } "
       "を閉じる } のすぐ後に書きます\n"
       "\telse{\n"
       "\t^\n",
       true},
      {"a value missing inside a loop is warned of once",
       // gcc sees it only where the value is used after; clang's analyser
       // where it is used.
       "はじめ\n\tくり返し(3){\n\t\t数b=数b+1;\n\t}\n\t見る(\"b\",数b);\n"
       "おわり\n",
       "", 0,
       "p.zem:3:3: warning: 数b is used before it gets a value\n"
       "\t\t数b=数b+1;\n"
       "\t\t^\n"},
      // Neither a value set before the loop, nor one set inside a loop of
      // a count typed in (which may be 0) and used after.
      {"the same in Japanese, beside values that are set",
       "はじめ\n\t打つ(数n);\n\t数y=0;\n\tくり返し(3){\n\t\t数x=数x+1;\n"
       "\t\t数y=数y+1;\n\t}\n\tくり返し(数n){\n\t\t数z=数y;\n\t}\n"
       "\t見る(\"x\",数x);\n\t見る(\"z\",数z);\nおわり\n",
       "2\nx\n", 0,
       "p.zem:5:3: warning: 数x に値を入れる前に使っています\n"
       "\t\t数x=数x+1;\n"
       "\t\t^\n",
       true},
      {"a mistyped keyword: no warning that follows from it",
       "はじめ\n\t打る(数a);\n\t見る(\"a\",数a);\nおわり\n", "", 1,
       "p.zem:2:2: error: there is no statement or function named 打る: is a "
       "statement mistyped? (見る 打つ くり返し 開く 閉じる 読む 書く "
       "読みきり)\n"
       "\t打る(数a);\n"
       "\t^\n"},
  });
}

const std::string kLongText(300, 'x');
const std::string kTwoWords =
    std::string(200, 'a') + "\n" + std::string(200, 'b') + "\n";
const std::string kLongLine = "\t字s=\"" + std::string(115, 'x') + "...\n\t^\n";

TEST(LearnersTerms, RunTimeFaultsInPlainWords) {
  run_cases({
      {"a text in quotes too long for its variable: warned, then stopped",
       ("はじめ\n\t字s=\"" + kLongText + "\";\n\t見る(\"s\",字s);\nおわり\n")
           .c_str(),
       "", 70,
       "p.zem:2:2: warning: 字s holds at most 255 bytes of text, and this "
       "puts a text of 300 bytes into it\n" +
           kLongLine +
           "p.zem:2:2: error: 字s holds at most 255 bytes of text, and a "
           "text of 300 bytes was put into it\n" +
           kLongLine},
      {"a text added past its variable: the variable added to",
       "はじめ\n\t打つ(字a);\n\t打つ(字b);\n\tstrcat(字a,字b);\nおわり\n",
       kTwoWords.c_str(), 70, "", false,
       "p.zem:4:2: error: 字a holds at most 255 bytes of text, and a longer "
       "text was put into it\n"},
      {"a text added to itself",
       "はじめ\n\t字s=\"ab\";\n\tstrcat(字s,字s);\nおわり\n", "", 70,
       // gcc warns of it before.
       "", false,
       "p.zem:3:2: error: the two texts given to strcat overlap in memory and "
       "cannot be copied right: copy from and to different variables\n"
       "\tstrcat(字s,字s);\n"
       "\t^\n"
       "zemuc: "},
      {"a file whose folder is missing",
       "はじめ\n\t数a=1;\n\t開く(出力,\"no/such/folder/o.txt\",w);\n"
       "\t書く(出力,数a);\nおわり\n",
       "", 70,
       "p.zem:4:2: error: 出力 is not open: its 開く on line 3 could not "
       "open the file: there is no such file, or no folder for it\n"
       "\t書く(出力,数a);\n"
       "\t^\n"},
      {"a folder given as a file, in Japanese",
       "はじめ\n\t数a=1;\n\t開く(出力,\".\",w);\n\t書く(出力,数a);\nおわり\n",
       "", 70,
       "p.zem:4:2: error: 出力 は開いていません: 3 行目の 開く でファイルが"
       "開けませんでした。その名前はファイルではなくフォルダです\n"
       "\t書く(出力,数a);\n"
       "\t^\n",
       true},
      {"a file closed twice, in Japanese",
       "はじめ\n\t数a=1;\n\t開く(出力,\"o.txt\",w);\n\t書く(出力,数a);\n"
       "\t閉じる(出力);\n\t閉じる(出力);\nおわり\n",
       "", 70,
       "p.zem:6:2: error: 出力 は閉じた後です: 5 行目の 閉じる で閉じました。"
       "もう一度使うには 開く で開き直してください\n"
       "\t閉じる(出力);\n"
       "\t^\n",
       true},
      {"a file on a full disk, in Japanese",
       "はじめ\n\t数a=1;\n\t開く(出力,\"/dev/full\",w);\n\t書く(出力,数a);\n"
       "\t閉じる(出力);\nおわり\n",
       "", 70,
       "p.zem:5:2: error: 出力 のファイルに書けませんでした。ディスクがいっぱい"
       "です\n"
       "\t閉じる(出力);\n"
       "\t^\n",
       true},
      {"a word typed for a number, in Japanese",
       "はじめ\n\t打つ(数a);\n\t見る(\"a\",数a);\nおわり\n", "abc\nx\n", 70,
       "p.zem:2:2: error: 打ち込まれたものが数ではありません。数は半角の数字 0 "
       "から 9 で打ち込んでください (日本語入力を切ってください)\n"
       "\t打つ(数a);\n"
       "\t^\n",
       true},
      {"digits typed for a number: no fault",
       "はじめ\n\t打つ(数a);\n\t見る(\"a\",数a);\nおわり\n", "21\nx\n", 0, ""},
      {"a value missing on the line of a fault",
       "はじめ\n\t数c=2147483647;\n\t数b=数c+1+数a;\n\t見る(\"b\",数b);\n"
       "おわり\n",
       "", 70,
       // The place of the fault differs between the compilers.
       "", false,
       ": error: the result of 2147483647 + 1 is too large for a number "
       "variable, which holds -2147483648 to 2147483647; 数a is used here "
       "before it gets a value, which is the likely cause\n"},
      {"the same in Japanese",
       "はじめ\n\t数c=2147483647;\n\t数b=数c+1+数a;\n\t見る(\"b\",数b);\n"
       "おわり\n",
       "", 70, "", true,
       " を超えました。数a "
       "に値を入れる前に使っているので、それが原因でしょう\n"},
  });
}

}  // namespace
}  // namespace zemuc::testing
