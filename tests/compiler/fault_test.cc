// A checked run's report told in the learner's terms, and the signals that
// end a program in plain words.
#include "compiler/fault.h"

#include <gtest/gtest.h>
#include <signal.h>

#include "compiler/compiler_support.h"

namespace zemuc::testing {
namespace {

std::string told(const char* source, const std::string& report,
                 Language language = Language::kEnglish) {
  const compiler::Program program = program_of(source);
  const compiler::CompilerCopy copy =
      compiler::make_compiler_copy(program, true);
  return compiler::explain_fault(program, copy.map,
                                 compiler::read_sanitizer_report(report),
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

TEST(ExplainFault, InJapanese) {
  EXPECT_EQ(
      told("はじめ\n\t打つ(数a,数b);\n\t数c=数a/数b;\nおわり\n",
           "p.zem:3:9: runtime error: division by zero\n", Language::kJapanese),
      "p.zem:3:7: error: 0 で割り算をしました: 数b が 0 です\n"
      "\t数c=数a/数b;\n"
      "\t       ^\n"
      "zemuc: 検査の報告の全文: p.report.txt\n");
}

TEST(ExplainSignal, WhatEachSignalMeans) {
  const struct {
    int signal;
    bool checked;
    const char* told;
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
  };
  for (const auto& c : cases) {
    EXPECT_EQ(compiler::explain_signal(c.signal, c.checked, Language::kEnglish,
                                       Encoding::kUtf8),
              c.told);
  }
}

}  // namespace
}  // namespace zemuc::testing
