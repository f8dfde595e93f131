// A checked run's report told in the learner's terms, and the signals that
// end a program in plain words.
#include "explain/fault.h"

#include <gtest/gtest.h>
#include <signal.h>

#include "program/program_support.h"

namespace zemuc::testing {
namespace {

std::string told(const char* source, const std::string& report,
                 Language language = Language::kEnglish) {
  const Program program = program_of(source);
  const CompilerCopy copy = make_compiler_copy(program, true);
  return explain::explain_fault(program, copy.map,
                                explain::read_sanitizer_report(report),
                                "p.report.txt", language, Encoding::kUtf8);
}

TEST(ExplainFault, EachCheckOnItsLineWithItsVariable) {
  const char* kStack = "    #0 0x1 in main /w/p.zem:";
  const struct {
    const char* what;
    const char* source;
    std::string report;
    const char* told;
  } cases[] = {
      {"division by zero, the divisor a variable",
       "はじめ\n\t打つ(数a,数b);\n\t数c=数a/数b;\nおわり\n",
       "p.zem:3:9: runtime error: division by zero\n" + std::string(kStack) +
           "3\n",
       "p.zem:3:7: error: division by zero: 数b is 0\n"
       "\t数c=数a/数b;\n"
       "\t       ^\n"},
      {"division by zero, the divisor an expression",
       "はじめ\n\t打つ(数a);\n\t数c=10%(数a-1);\nおわり\n",
       "p.zem:3:8: runtime error: division by zero\n",
       "p.zem:3:7: error: division by zero\n"
       "\t数c=10%(数a-1);\n"
       "\t      ^\n"},
      {"a result too large",
       "はじめ\n\t数a=2147483647;\n\t数a=数a+1;\nおわり\n",
       "p.zem:3:9: runtime error: signed integer overflow: 2147483647 + 1 "
       "cannot be represented in type 'int'\n",
       "p.zem:3:7: error: the result of 2147483647 + 1 is too large for a "
       "number variable, which holds -2147483648 to 2147483647\n"
       "\t数a=数a+1;\n"
       "\t       ^\n"},
      {"a number typed too large (the copy's own check)",
       "はじめ\n\t打つ(数a);\nおわり\n",
       "p.zem:2: runtime error: typed number 99999999999 does not fit in type "
       "'int'\n",
       "p.zem:2:2: error: the number typed, 99999999999, is too large for a "
       "number variable, which holds -2147483648 to 2147483647\n"
       "\t打つ(数a);\n"
       "\t^\n"},
      {"a text longer than its variable holds, from scanf",
       "はじめ\n\t打つ(字n);\nおわり\n",
       "==1==ERROR: AddressSanitizer: stack-buffer-overflow on address "
       "0x7ffc at pc 0x1\n"
       "WRITE of size 301 at 0x7ffc thread T0\n"
       "    #0 0x1 in scanf_common(void*, int) (/tmp/program+0x56f44)\n" +
           std::string(kStack) +
           "2\n\n"
           "    [192, 448) 'cc1' (line 106) <== Memory access at offset 448 "
           "overflows this variable\n",
       "p.zem:2:2: error: 字n holds at most 255 bytes of text, and a text of "
       "300 bytes was put into it\n"
       "\t打つ(字n);\n"
       "\t^\n"},
      {"a file statement on a file that did not open (the copy's check)",
       "はじめ\n\t開く(出力,\"/x/y\",w);\n\t書く(出力,数a);\nおわり\n",
       "p.zem:3: runtime error: file not open\n",
       "p.zem:3:2: error: 出力 is not open: its 開く could not open the file, "
       "or 閉じる has closed it\n"
       "\t書く(出力,数a);\n"
       "\t^\n"},
      {"the word at the end too long: the frame's line buffer",
       "はじめ\nおわり\n",
       "==1==ERROR: AddressSanitizer: stack-buffer-overflow on address 0x7\n"
       "WRITE of size 301 at 0x7 thread T0\n"
       "    #0 0x1 in main /w/<translator>:1\n\n"
       "    [48, 148) 'dummy' (line 106) <== Memory access at offset 148 "
       "overflows this variable\n",
       "p.zem: error: the word typed at the end is longer than the 99 bytes "
       "the program keeps for it (in the code the translator writes around "
       "the program)\n"},
      {"two texts that overlap, in the function the line calls",
       "はじめ\n\t字s=\"ab\";\n\tstrcat(字s,字s);\nおわり\n",
       "==1==ERROR: AddressSanitizer: strcat-param-overlap: memory ranges "
       "[0x7ffc,0x7ffc5) and [0x7ffc, 0x7ffc3) overlap\n"
       "    #0 0x1 in strcat (/tmp/program+0x2dd26)\n" +
           std::string(kStack) + "3\n",
       "p.zem:3:2: error: the two texts given to strcat overlap in memory "
       "and cannot be copied right: copy from and to different variables\n"
       "\tstrcat(字s,字s);\n"
       "\t^\n"},
      {"two texts that overlap in a function the line does not name",
       "はじめ\n\t字s=\"ab\";\nおわり\n",
       "==1==ERROR: AddressSanitizer: memcpy-param-overlap: memory ranges\n" +
           std::string(kStack) + "2\n",
       "p.zem:2:2: error: two texts overlap in memory and cannot be copied "
       "right: copy from and to different variables\n"
       "\t字s=\"ab\";\n"
       "\t^\n"},
      {"a null pointer, not a file's",
       "はじめ\n\tint*p=0;\n\t数a=*p;\nおわり\n",
       "p.zem:3:6: runtime error: load of null pointer of type 'int'\n",
       "p.zem:3:5: error: the program used a pointer that points to nothing "
       "(NULL)\n"
       "\t数a=*p;\n"
       "\t    ^\n"},
      {"a shift too far", "はじめ\n\t数b=1<<数a;\nおわり\n",
       "p.zem:2:7: runtime error: shift exponent 40 is too large for 32-bit "
       "type 'int'\n",
       "p.zem:2:6: error: a shift by 40 bits, where only 0 to 31 bits can be "
       "shifted\n"
       "\t数b=1<<数a;\n"
       "\t     ^\n"},
      {"a shift of a negative number", "はじめ\n\t数b=数a<<2;\nおわり\n",
       "p.zem:2:9: runtime error: left shift of negative value -1\n",
       "p.zem:2:7: error: a shift of the negative number -1 with <<\n"
       "\t数b=数a<<2;\n"
       "\t       ^\n"},
      {"a shift whose result is too large", "はじめ\n\t数b=3<<数a;\nおわり\n",
       "p.zem:2:7: runtime error: left shift of 3 by 31 places cannot be "
       "represented in type 'int'\n",
       "p.zem:2:6: error: the result of 3 << 31 is too large for a number "
       "variable, which holds -2147483648 to 2147483647\n"
       "\t数b=3<<数a;\n"
       "\t     ^\n"},
      {"past memory from malloc",
       "はじめ\n\tchar*p=malloc(4);\n\tstrcpy(p,\"abcdef\");\nおわり\n",
       "==1==ERROR: AddressSanitizer: heap-buffer-overflow on address 0x6\n"
       "WRITE of size 7 at 0x6 thread T0\n"
       "    #0 0x1 in strcpy (/tmp/program+0x8e906)\n" +
           std::string(kStack) + "3\n",
       "p.zem:3:2: error: the program read or wrote past the end of memory "
       "from malloc\n"
       "\tstrcpy(p,\"abcdef\");\n"
       "\t^\n"},
      {"memory freed twice", "はじめ\n\tfree(p);\nおわり\n",
       "==1==ERROR: AddressSanitizer: attempting double-free on 0x6 in thread "
       "T0:\n    #0 0x1 in free (/tmp/program+0xa3ec2)\n" +
           std::string(kStack) + "2\n",
       "p.zem:2:2: error: the program gave the same memory to free twice\n"
       "\tfree(p);\n"
       "\t^\n"},
      {"a variable used after its block", "はじめ\n\t数a=*p;\nおわり\n",
       "==1==ERROR: AddressSanitizer: stack-use-after-scope on address 0x7\n"
       "READ of size 4 at 0x7 thread T0\n" +
           std::string(kStack) + "2\n",
       "p.zem:2:2: error: the program used a variable after the } that ends "
       "its block\n"
       "\t数a=*p;\n"
       "\t^\n"},
      {"past a text in quotes", "はじめ\n\t数b=*(\"abc\"+数a);\nおわり\n",
       "==1==ERROR: AddressSanitizer: global-buffer-overflow on address 0x5\n"
       "READ of size 1 at 0x5 thread T0\n" +
           std::string(kStack) +
           "2\n\n"
           "0x5 is located 1 bytes to the right of global variable '*.LC0' "
           "defined in 'p.zem:2:5' (0x5) of size 4\n"
           "  '*.LC0' is ascii string 'abc'\n",
       "p.zem:2:2: error: the program read or wrote past the end of a text "
       "in quotes\n"
       "\t数b=*(\"abc\"+数a);\n"
       "\t^\n"},
      {"an index outside an array that is no variable of the learner's",
       "はじめ\n\t数b=\"abc\"[(数a)];\nおわり\n",
       "p.zem:2:11: runtime error: index 5 out of bounds for type 'char "
       "[4]'\n",
       "p.zem:2:10: error: the array has elements 0 to 3, and element 5 was "
       "used\n"
       "\t数b=\"abc\"[(数a)];\n"
       "\t         ^\n"},
      {"a fault of memory of no kind told: no raw words",
       "はじめ\n\t数a=1;\nおわり\n",
       "==1==ERROR: AddressSanitizer: unknown-crash on address 0x5\n" +
           std::string(kStack) + "2\n",
       "p.zem:2:2: error: the program touched memory that is not its own\n"
       "\t数a=1;\n"
       "\t^\n"},
      {"a runtime error of no kind told: no raw words",
       "はじめ\n\t数a=1;\nおわり\n",
       "p.zem:2:4: runtime error: load of value 7, which is not a valid value "
       "for type '_Bool'\n",
       "p.zem:2:2: error: a run-time check stopped the program at something "
       "C leaves undefined\n"
       "\t数a=1;\n"
       "\t^\n"},
      {"a file whose open failed: why, at its 開く",
       "はじめ\n\t開く(出力,\"/x/y\",w);\n\t書く(出力,数a);\nおわり\n",
       "p.zem:3: runtime error: file not open\n"
       "p.zem:2: note: open failed: 2 No such file or directory\n",
       "p.zem:3:2: error: 出力 is not open: its 開く on line 2 could not open "
       "the file: there is no such file, or no folder for it\n"
       "\t書く(出力,数a);\n"
       "\t^\n"},
      {"the last failed open of that file counts, not another file's",
       "はじめ\n\t開く(出力,\"/x\",w);\n\t開く(出力,\"/y\",w);\n"
       "\t開く(他,\"/z\",w);\n\t書く(出力,数a);\nおわり\n",
       "p.zem:5: runtime error: file not open\n"
       "p.zem:2: note: open failed: 13 Permission denied\n"
       "p.zem:3: note: open failed: 21 Is a directory\n"
       "p.zem:4: note: open failed: 2 No such file or directory\n",
       "p.zem:5:2: error: 出力 is not open: its 開く on line 3 could not open "
       "the file: that name is a folder, not a file\n"
       "\t書く(出力,数a);\n"
       "\t^\n"},
      {"only another file's open failed",
       "はじめ\n\t開く(出力,\"/x\",w);\n\t開く(他,\"/z\",w);\n"
       "\t書く(出力,数a);\nおわり\n",
       "p.zem:4: runtime error: file not open\n"
       "p.zem:3: note: open failed: 20 Not a directory\n",
       "p.zem:4:2: error: 出力 is not open: its 開く could not open the file, "
       "or 閉じる has closed it\n"
       "\t書く(出力,数a);\n"
       "\t^\n"},
      {"an error the learner's words do not name: the system's",
       "はじめ\n\t開く(出力,\"/x\",w);\n\t書く(出力,数a);\nおわり\n",
       "p.zem:3: runtime error: file not open\n"
       "p.zem:2: note: open failed: 24 Too many open files\n",
       "p.zem:3:2: error: 出力 is not open: its 開く on line 2 could not open "
       "the file: the system says: Too many open files\n"
       "\t書く(出力,数a);\n"
       "\t^\n"},
      {"a file closed twice: at the second 閉じる, with the first",
       "はじめ\n\t開く(出力,\"o\",w);\n\t閉じる(出力);\n\n\t閉じる(出力);\n"
       "おわり\n",
       "p.zem:5: runtime error: file already closed on line 3\n",
       "p.zem:5:2: error: 出力 is closed already: the 閉じる on line 3 closed "
       "it. Open it again with 開く to use it again\n"
       "\t閉じる(出力);\n"
       "\t^\n"},
      {"a file not written: the disk is full, at its 閉じる",
       "はじめ\n\t開く(出力,\"/dev/full\",w);\n\t閉じる(出力);\nおわり\n",
       "p.zem:3: runtime error: file not written: 28 No space left on device\n",
       "p.zem:3:2: error: 出力 could not be written: the disk is full\n"
       "\t閉じる(出力);\n"
       "\t^\n"},
      {"a file not written for another reason: the system's",
       "はじめ\n\t開く(出力,\"o\",w);\n\t書く(出力,数a);\nおわり\n",
       "p.zem:3: runtime error: file not written: 5 Input/output error\n",
       "p.zem:3:2: error: 出力 could not be written: the system says: "
       "Input/output error\n"
       "\t書く(出力,数a);\n"
       "\t^\n"},
      {"a folder read as a file, at its 読む",
       "はじめ\n\t開く(入力,\"d\",r);\n\t読む(入力,数a);\nおわり\n",
       "p.zem:3: runtime error: file not read: 21 Is a directory\n",
       "p.zem:3:2: error: 入力 could not be read: that name is a folder, not a "
       "file\n"
       "\t読む(入力,数a);\n"
       "\t^\n"},
      {"a fraction too large for a number variable",
       "はじめ\n\t数a=pow(数b,10);\nおわり\n",
       "p.zem:2:6: runtime error: 1e+10 is outside the range of representable "
       "values of type 'int'\n",
       "p.zem:2:5: error: the result 1e+10 is too large for a number variable, "
       "which holds -2147483648 to 2147483647\n"
       "\t数a=pow(数b,10);\n"
       "\t    ^\n"},
      {"no number at all for a number variable",
       "はじめ\n\t数a=sqrt(数b);\nおわり\n",
       "p.zem:2:6: runtime error: -nan is outside the range of representable "
       "values of type 'int'\n",
       "p.zem:2:5: error: a calculation gave no number (NaN), which a number "
       "variable cannot hold\n"
       "\t数a=sqrt(数b);\n"
       "\t    ^\n"},
      {"a number typed beyond what the check can show",
       "はじめ\n\t打つ(数a);\nおわり\n",
       "p.zem:2: runtime error: typed number does not fit in type 'int'\n",
       "p.zem:2:2: error: the number typed is too large for a number variable, "
       "which holds -2147483648 to 2147483647\n"
       "\t打つ(数a);\n"
       "\t^\n"},
      {"a remainder too large is said with %",
       "はじめ\n\t数c=(数a)%(数b);\nおわり\n",
       "p.zem:2:11: runtime error: division of -2147483648 by -1 cannot be "
       "represented in type 'int'\n",
       "p.zem:2:9: error: the result of -2147483648 % -1 is too large for a "
       "number variable, which holds -2147483648 to 2147483647\n"
       "\t数c=(数a)%(数b);\n"
       "\t         ^\n"},
      {"a remainder by zero, the divisor in parentheses",
       "はじめ\n\t数c=(数a)%(数b);\nおわり\n",
       "p.zem:2:11: runtime error: division by zero\n",
       "p.zem:2:9: error: division by zero: 数b is 0\n"
       "\t数c=(数a)%(数b);\n"
       "\t         ^\n"},
      {"a division by zero, the divisor in two parentheses",
       "はじめ\n\t数c=数a/((数b));\nおわり\n",
       "p.zem:2:9: runtime error: division by zero\n",
       "p.zem:2:7: error: division by zero: 数b is 0\n"
       "\t数c=数a/((数b));\n"
       "\t       ^\n"},
      {"a report cut short before its kind", "はじめ\nおわり\n",
       "=================\n==1==ERR",
       "p.zem: error: a run-time check stopped the program, but its report "
       "is cut short\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(told(c.source, c.report),
              std::string(c.told) +
                  "zemuc: the checks' whole report: p.report.txt\n");
  }
}

// A fault on a line where the build warned of a value missing says that
// as its likely cause; on another line it does not.
TEST(ExplainFault, AValueMissingOnTheLineIsTheLikelyCause) {
  const char* source = "はじめ\n\t数b=数a*2000000;\n\t数c=数b*9;\nおわり\n";
  const Program program = program_of(source);
  const CompilerCopy copy = make_compiler_copy(program, true);
  const explain::ValueMissing missing[] = {{2, "数a"}};
  const auto told = [&](const char* report, Language language) {
    return explain::explain_fault(program, copy.map,
                                  explain::read_sanitizer_report(report), "",
                                  language, Encoding::kUtf8, missing);
  };
  const char* on_its_line =
      "p.zem:2:9: runtime error: signed integer overflow: 1723205120 * "
      "2000000 cannot be represented in type 'int'\n";
  EXPECT_EQ(told(on_its_line, Language::kEnglish),
            "p.zem:2:7: error: the result of 1723205120 * 2000000 is too "
            "large for a number variable, which holds -2147483648 to "
            "2147483647; 数a is used here before it gets a value, which is the "
            "likely cause\n"
            "\t数b=数a*2000000;\n"
            "\t       ^\n");
  EXPECT_EQ(told(on_its_line, Language::kJapanese),
            "p.zem:2:7: error: 1723205120 * 2000000 の結果が、数の変数に入る"
            "範囲 (-2147483648 から 2147483647) を超えました。数a "
            "に値を入れる前に使っているので、それが原因でしょう\n"
            "\t数b=数a*2000000;\n"
            "\t       ^\n");
  EXPECT_EQ(told("p.zem:3:9: runtime error: signed integer overflow: "
                 "1723205120 * 9 cannot be represented in type 'int'\n",
                 Language::kEnglish)
                .find("likely cause"),
            std::string::npos);
}

// A divisor that is 0 is the cause of its division by zero; a value
// missing elsewhere on the line is not, the divisor's own is.
TEST(ExplainFault, ADivisorOfZeroIsItsOwnCause) {
  const Program program =
      program_of("はじめ\n\t数z=0;\n\t数b=数a/数z;\n\t数c=数a/数y;\nおわり\n");
  const CompilerCopy copy = make_compiler_copy(program, true);
  const explain::ValueMissing missing[] = {{3, "数a"}, {4, "数y"}};
  const auto told = [&](const char* report) {
    return explain::explain_fault(program, copy.map,
                                  explain::read_sanitizer_report(report), "",
                                  Language::kEnglish, Encoding::kUtf8, missing);
  };
  EXPECT_EQ(told("p.zem:3:9: runtime error: division by zero\n"),
            "p.zem:3:7: error: division by zero: 数z is 0\n"
            "\t数b=数a/数z;\n"
            "\t       ^\n");
  EXPECT_EQ(told("p.zem:4:9: runtime error: division by zero\n"),
            "p.zem:4:7: error: division by zero: 数y is 0; 数y is used here "
            "before it gets a value, which is the likely cause\n"
            "\t数c=数a/数y;\n"
            "\t       ^\n");
}

TEST(ExplainFault, InJapanese) {
  EXPECT_EQ(
      told("はじめ\n\t打つ(数a,数b);\n\t数c=数a/数b;\nおわり\n",
           "p.zem:3:9: runtime error: division by zero\n", Language::kJapanese),
      "p.zem:3:7: error: 0 で割り算をしました: 数b が 0 です\n"
      "\t数c=数a/数b;\n"
      "\t       ^\n"
      "zemuc: 検査の報告の全文: p.report.txt\n");
}

// Every kind a report can be read as has words of its own: none is told
// as a report cut short.
TEST(ExplainFault, EveryKindHasItsWords) {
  const Program program = program_of("はじめ\n\t見る(\"a\");\nおわり\n");
  const CompilerCopy copy = make_compiler_copy(program, true);
  using Kind = explain::SanitizerReport::Kind;
  const std::string cut_short = explain::explain_fault(
      program, copy.map, {}, "", Language::kEnglish, Encoding::kUtf8);
  ASSERT_NE(cut_short.find("cut short"), std::string::npos) << cut_short;
  for (int k = static_cast<int>(Kind::kNone) + 1;
       k <= static_cast<int>(Kind::kOther); ++k) {
    SCOPED_TRACE(k);
    explain::SanitizerReport report;
    report.kind = static_cast<Kind>(k);
    const std::string told = explain::explain_fault(
        program, copy.map, report, "", Language::kEnglish, Encoding::kUtf8);
    EXPECT_EQ(told.find("cut short"), std::string::npos) << told;
  }
}

TEST(ExplainSignal, WhatEachSignalMeans) {
  const struct {
    int signal;
    bool checked;
    const char* told;
    bool checks_possible = true;
  } cases[] = {
      {SIGINT, false, ""},
      {SIGFPE, true,
       "zemuc: the program was stopped by an arithmetic error (SIGFPE), most "
       "often a division by zero\n"},
      {SIGSEGV, false,
       "zemuc: the program was stopped for touching memory that is not its "
       "own (SIGSEGV); run it with checks (without --no-checks) to learn the "
       "line\n"},
      {SIGKILL, true,
       "zemuc: the program was killed (SIGKILL), perhaps for using too much "
       "memory\n"},
      {SIGUSR1, true, "zemuc: the program was ended by a signal (SIGUSR1)\n"},
      // Only the faults that checks would place carry the hint.
      {SIGBUS, false,
       "zemuc: the program was stopped for touching memory that is not its "
       "own (SIGBUS); run it with checks (without --no-checks) to learn the "
       "line\n"},
      {SIGILL, false,
       "zemuc: the program was stopped at an instruction it cannot run "
       "(SIGILL)\n"},
      // A compiler that cannot build checks: no advice to run with them.
      {SIGFPE, false,
       "zemuc: the program was stopped by an arithmetic error (SIGFPE), most "
       "often a division by zero\n",
       false},
      {SIGUSR1, false, "zemuc: the program was ended by a signal (SIGUSR1)\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(explain::explain_signal(c.signal, c.checked, Language::kEnglish,
                                      Encoding::kUtf8, c.checks_possible),
              c.told);
  }
}

// A fault without checks, where the debug information named its line: on
// the line's statement, with the signal's words and no advice.
TEST(ExplainFault, ASignalOnTheLineTheProgramNamed) {
  const Program program =
      program_of("はじめ\n\t打つ(数a,数b);\n\t数c=数a/数b;\nおわり\n");
  const struct {
    int signal;
    std::size_t line;
    Language language;
    const char* told;
  } cases[] = {
      {SIGFPE, 3, Language::kEnglish,
       "p.zem:3:2: error: the program was stopped by an arithmetic error "
       "(SIGFPE), most often a division by zero\n\t数c=数a/数b;\n\t^\n"},
      {SIGSEGV, 2, Language::kJapanese,
       "p.zem:2:2: error: プログラムが自分のものでないメモリーに触れて止められ"
       "ました (SIGSEGV)\n\t打つ(数a,数b);\n\t^\n"},
      {SIGILL, 3, Language::kEnglish,
       "p.zem:3:2: error: the program was stopped at an instruction it "
       "cannot run (SIGILL)\n\t数c=数a/数b;\n\t^\n"},
      // No line of the source: told without one, by the caller.
      {SIGFPE, 0, Language::kEnglish, ""},
      {SIGFPE, 99, Language::kEnglish, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(explain::explain_signal_at(program, c.signal, c.line, c.language,
                                         Encoding::kUtf8),
              c.told);
  }
}

}  // namespace
}  // namespace zemuc::testing
