// What gcc and clang say about the copy, told in the learner's terms: the
// messages as the compilers write them (captured from gcc 12 and clang 14
// on these very programs), and what the learner reads. What zemuc run says
// with the compilers themselves (tests/zemuc/learners_terms_test.cc), the
// shape of the program among it, is not asserted again here.
#include "explain/explain.h"

#include <gtest/gtest.h>

#include "program/program_support.h"

namespace zemuc::testing {
namespace {

constexpr const char* kDouble =
    "はじめ\n"
    "\t打つ(数a);\n"
    "\t数b=数a*2\n"
    "\t見る(\"二倍\",数b);\n"
    "おわり\n";

// A file name mistyped in 読む: its C closes main early.
constexpr const char* kReadMistyped =
    "はじめ\n"
    "\t開く(入カ,\"a.txt\",r);\n"
    "\t読む(入力,数a);\n"
    "\t見る(\"a\",数a);\n"
    "\t閉じる(入力);\n"
    "おわり\n";
constexpr const char* kReadMistypedTold =
    "p.zem:3:5: error: 入力 is not a file opened with 開く: open it with "
    "開く(入力,\"file\",r) before reading it\n"
    "\t読む(入力,数a);\n"
    "\t     ^\n";

TEST(ExplainBuild, CompilerMessagesInTheLearnersTerms) {
  // A long line is shown as far as a terminal's width.
  const std::string kClipped = std::string(115, 'x') + "...\n";
  const struct {
    const char* what;
    std::string source;
    const char* output;
    bool failed;
    std::string told;
  } cases[] = {
      {"a missing ; (gcc)", kDouble,
       "p.zem: In function 'main':\n"
       "p.zem:3:11: error: expected ';' before 'printf'\n",
       true,
       "p.zem:3:9: error: a ; is missing at the end of this line: a statement "
       "ends with ;\n"
       "\t数b=数a*2\n"
       "\t         ^\n"},
      {"a missing ; (clang)", kDouble,
       "p.zem:3:11: error: expected ';' after expression\n"
       "1 error generated.\n",
       true,
       "p.zem:3:9: error: a ; is missing at the end of this line: a statement "
       "ends with ;\n"
       "\t数b=数a*2\n"
       "\t         ^\n"},
      {"a word that is no variable (gcc in the C locale)",
       "はじめ\n\t値=5;\nおわり\n",
       "p.zem:2:2: error: '\\U00005024' undeclared (first use in this "
       "function)\n"
       "p.zem:2:2: note: each undeclared identifier is reported only once\n",
       true,
       "p.zem:2:2: error: 値 is not a variable: a variable's name begins "
       "with 数 (for a number) or 字 (for a text), as in 数値 or 字値\n"
       "\t値=5;\n"
       "\t^\n"},
      {"a file read that no 開く opened: not the line buffer (gcc)",
       "はじめ\n\t読む(入力,数a);\nおわり\n",
       "p.zem:2:20: error: 'dummy' undeclared here (not in a function)\n", true,
       "p.zem:2:5: error: 入力 is not a file opened with 開く: open it with "
       "開く(入力,\"file\",r) before reading it\n"
       "\t読む(入力,数a);\n"
       "\t     ^\n"},
      {"the same (clang)", "はじめ\n\t読む(入力,数a);\nおわり\n",
       "p.zem:2:13: error: use of undeclared identifier 'dummy'\n", true,
       "p.zem:2:5: error: 入力 is not a file opened with 開く: open it with "
       "開く(入力,\"file\",r) before reading it\n"
       "\t読む(入力,数a);\n"
       "\t     ^\n"},
      {"a keyword joined to its text (clang)", "はじめ\n\t見る数a;\nおわり\n",
       "p.zem:2:2: error: use of undeclared identifier '見る数a'\n", true,
       "p.zem:2:2: error: 見る数a begins with 見る but is no statement: write "
       "見る(...)\n"
       "\t見る数a;\n"
       "\t^\n"},
      // The check tells of the blank; the C's 見る is no label of a 見る.
      {"a keyword and a blank before its text (clang)",
       "はじめ\n\t見る \"こんにちは\";\nおわり\n",
       "p.zem:2:2: error: use of undeclared identifier '見る'\n", true,
       "p.zem:2:2: error: 見る has no ( right after it, so it is no statement: "
       "write 見る(...)\n"
       "\t見る \"こんにちは\";\n"
       "\t^\n"},
      {"an unknown function, from the linker",
       "はじめ\n\t\thyouji(3);\nおわり\n",
       "/usr/bin/ld: /tmp/cc1.o: in function `main':\n"
       "/tmp/w/p.zem:2: undefined reference to `hyouji'\n"
       "collect2: error: ld returned 1 exit status\n",
       true,
       "p.zem:2:3: error: there is no statement or function named hyouji: is "
       "a statement mistyped? (見る 打つ くり返し 開く 閉じる 読む 書く "
       "読みきり)\n"
       "\t\thyouji(3);\n"
       "\t\t^\n"},
      {"a number put into a string variable (gcc)",
       "はじめ\n\t数a=3;\n\t字s=数a;\nおわり\n",
       "p.zem:3:13: error: passing argument 2 of 'strcpy' makes pointer from "
       "integer without a cast [-Werror=int-conversion]\n"
       "<translator>:3: note: expected 'const char *' but argument is of "
       "type 'int'\n",
       true,
       "p.zem:3:5: error: 字s holds a text, and the number 数a cannot be put "
       "into it as it is: sprintf(字s,\"%d\",数a); writes the number as a "
       "text\n"
       "\t字s=数a;\n"
       "\t    ^\n"},
      {"a text put into a number variable (clang)",
       "はじめ\n\t字s=\"1\";\n\t数a=字s;\nおわり\n",
       "p.zem:3:5: error: incompatible pointer to integer conversion "
       "assigning to 'int' from 'char[256]' [-Werror,-Wint-conversion]\n",
       true,
       "p.zem:3:4: error: 数a holds a number, and the text 字s cannot be put "
       "into it as it is: 数a=atoi(字s); turns a text of digits into a "
       "number\n"
       "\t数a=字s;\n"
       "\t   ^\n"},
      {"a value used before it is set, on a statement's line (clang)",
       "はじめ\n\t見る(\"a\",数a);\nおわり\n",
       "p.zem:2:26: warning: variable 'nn1' is uninitialized when used here "
       "[-Wuninitialized]\n"
       "<translator>:4:9: note: initialize the variable 'nn1' to silence "
       "this warning\n",
       false,
       "p.zem:2:9: warning: 数a is used before it gets a value\n"
       "\t見る(\"a\",数a);\n"
       "\t         ^\n"},
      // clang's analyser says what a value never set is used for, and
      // names the variable in a note only.
      {"a value used before it is set inside a loop (clang's analyser)",
       "はじめ\n\t数y=0;\n\tくり返し(3){\n\t\t数x=数x+1;\n\t\t数y=数y+1;"
       "\n\t}\nおわり\n",
       "p.zem:4:10: warning: The left operand of '+' is a garbage value "
       "[core.UndefinedBinaryOperatorResult]\n"
       "<translator>:403:39: note: 'nn2' declared without an initial value\n"
       "p.zem:3:2: note: Loop condition is true.  Entering loop body\n"
       "p.zem:4:10: note: The left operand of '+' is a garbage value\n",
       false,
       "p.zem:4:3: warning: 数x is used before it gets a value\n"
       "\t\t数x=数x+1;\n"
       "\t\t^\n"},
      // The browser's clang, with no analyser, warns of both a use inside
      // the loop and one after it; the loop runs at least once.
      {"a value used before it is set inside a loop (clang's loop warning)",
       "はじめ\n\tくり返し(3){\n\t\t数s=数s+1;\n\t}\n\t見る(\"s\",数s);\n"
       "おわり\n",
       "p.zem:3:7: warning: variable 'nn1' may be uninitialized when used here "
       "[-Wconditional-uninitialized]\n"
       "<translator>:468:36: note: initialize the variable 'nn1' to silence "
       "this warning\n",
       false,
       "p.zem:3:3: warning: 数s is used before it gets a value\n"
       "\t\t数s=数s+1;\n"
       "\t\t^\n"},
      {"a value set inside a loop, used after it (clang's loop warning)",
       "はじめ\n\tくり返し(3){\n\t\t数s=1;\n\t}\n\t見る(\"s\",数s);\nおわり\n",
       "p.zem:5:26: warning: variable 'nn1' may be uninitialized when used "
       "here [-Wconditional-uninitialized]\n"
       "<translator>:468:36: note: initialize the variable 'nn1' to silence "
       "this warning\n",
       false, ""},
      {"the same in a statement's C, given to printf (clang's analyser)",
       "はじめ\n\tくり返し(2){\n\t\t見る(\"x\",数x);\n\t\t数x=1;\n\t}\n"
       "おわり\n",
       "p.zem:3:3: warning: 3rd function call argument is an uninitialized "
       "value [core.CallAndMessage]\n"
       "<translator>:403:29: note: 'nn1' declared without an initial value\n"
       "p.zem:2:2: note: Loop condition is true.  Entering loop body\n"
       "p.zem:3:3: note: 3rd function call argument is an uninitialized "
       "value\n",
       false,
       "p.zem:3:10: warning: 数x is used before it gets a value\n"
       "\t\t見る(\"x\",数x);\n"
       "\t\t         ^\n"},
      {"a value used before it is set, as clang warns and its analyser finds "
       "it after: told once",
       "はじめ\n\t数b=数a+1;\n\t見る(\"b\",数b);\nおわり\n",
       "p.zem:2:6: warning: variable 'nn2' is uninitialized when used here "
       "[-Wuninitialized]\n"
       "<translator>:403:46: note: initialize the variable 'nn2' to silence "
       "this warning\n"
       "p.zem:2:9: warning: The left operand of '+' is a garbage value "
       "[core.UndefinedBinaryOperatorResult]\n"
       "<translator>:403:39: note: 'nn2' declared without an initial value\n"
       "p.zem:2:9: note: The left operand of '+' is a garbage value\n",
       false,
       "p.zem:2:5: warning: 数a is used before it gets a value\n"
       "\t数b=数a+1;\n"
       "\t    ^\n"},
      {"warnings about the translator's code are not the learner's",
       "はじめ\n\t打つ(字s);\nおわり\n",
       "p.zem:2:8: warning: format '%s' expects argument of type 'char *', "
       "but argument 4 has type 'char (*)[256]' [-Wformat=]\n"
       "<translator>:101:8: warning: format '%s' expects argument of type "
       "'char *', but argument 4 has type 'char (*)[100]' [-Wformat=]\n"
       "<translator>:1:1: warning: return type defaults to 'int'\n",
       false, ""},
      {"other words stay the compiler's, names mapped",
       "はじめ\n\t数a=1;\n\tif(数a=2)見る(\"x\");\nおわり\n",
       "p.zem:3:5: warning: suggest parentheses around assignment used as "
       "truth value [-Wparentheses]\n",
       false,
       "p.zem:3:5: warning: suggest parentheses around assignment used as "
       "truth value [-Wparentheses]\n"
       "\tif(数a=2)見る(\"x\");\n"
       "\t   ^\n"},
      {"an error in the frame is said in words", "はじめ\n\t数a=1;\nおわり\n",
       "<translator>:7:2: error: label at end of compound statement\n", true,
       "p.zem: error: label at end of compound statement (in the code the "
       "translator writes around the program)\n"},
      {"a full-width ; (gcc, in double quotes)", "はじめ\n\t数a=1；\nおわり\n",
       "p.zem:2:5: error: invalid suffix \"\\U0000ff1b\" on integer "
       "constant\n",
       true,
       "p.zem:2:6: error: ； is a full-width character, which C does not "
       "read: write the half-width ;\n"
       "\t数a=1；\n"
       "\t     ^\n"},
      {"full-width brackets (gcc)", "はじめ\n\t見る（\"a\"）;\nおわり\n",
       "p.zem:2:2: error: '\\U0000898b\\U0000308b\\U0000ff08' undeclared "
       "(first use in this function)\n",
       true,
       "p.zem:2:4: error: （ is a full-width character, which C does not "
       "read: write the half-width (\n"
       "\t見る（\"a\"）;\n"
       "\t    ^\n"},
      {"full-width brackets (clang)", "はじめ\n\t見る（\"a\"）;\nおわり\n",
       "p.zem:2:8: error: character <U+FF08> not allowed in an identifier\n"
       "p.zem:2:2: error: use of undeclared identifier '見る（'\n"
       "p.zem:2:14: error: unexpected character <U+FF09>\n",
       true,
       "p.zem:2:4: error: （ is a full-width character, which C does not "
       "read: write the half-width (\n"
       "\t見る（\"a\"）;\n"
       "\t    ^\n"
       "p.zem:2:8: error: ） is a full-width character, which C does not "
       "read: write the half-width )\n"
       "\t見る（\"a\"）;\n"
       "\t         ^\n"},
      {"a text of no digits, a ; in it, put into a number variable (clang)",
       "はじめ\n\t数値=\"表;\";\nおわり\n",
       "p.zem:2:5: error: incompatible pointer to integer conversion "
       "assigning to 'int' from 'char[5]' [-Werror,-Wint-conversion]\n",
       true,
       "p.zem:2:4: error: 数値 holds a number, and the text \"表;\" cannot be "
       "put into it: keep the text in a variable that begins with 字, "
       "字値=\"表;\";\n"
       "\t数値=\"表;\";\n"
       "\t    ^\n"},
      {"a sum of a text put into a number variable (gcc)",
       "はじめ\n\t数a=字s+1;\nおわり\n",
       "p.zem:2:5: error: assignment to 'int' from 'char *' makes integer from "
       "pointer without a cast [-Werror=int-conversion]\n",
       true,
       "p.zem:2:4: error: 数a holds a number, but what the = gives it is a "
       "text: give it a number, or keep the text in a variable that begins "
       "with 字, as 字a\n"
       "\t数a=字s+1;\n"
       "\t   ^\n"},
      {"a mistyped keyword: the warning that follows from it is left out "
       "(clang, which may be missing where zemuc run is tried)",
       "はじめ\n\t打る(数a);\n\t見る(\"a\",数a);\nおわり\n",
       "p.zem:2:9: warning: variable 'nn1' is uninitialized when used here "
       "[-Wuninitialized]\n"
       "/usr/bin/ld: /tmp/program-c00a3c.o: in function `main':\n"
       "/tmp/w/p.zem:2: undefined reference to `打る'\n"
       "clang: error: linker command failed with exit code 1 (use -v to see "
       "invocation)\n",
       true,
       "p.zem:2:2: error: there is no statement or function named 打る: is a "
       "statement mistyped? (見る 打つ くり返し 開く 閉じる 読む 書く "
       "読みきり)\n"
       "\t打る(数a);\n"
       "\t^\n"},
      {"C that the next line's statement writes is said as its keyword (gcc)",
       "はじめ\n\tif(数a==1\n\t見る(\"a\",数a);\nおわり\n",
       "p.zem:2:11: error: expected ')' before 'printf'\n"
       "<translator>:1:188: error: expected expression before '}' token\n",
       true,
       "p.zem:2:10: error: a ) is missing before 見る: each ( needs a ) that "
       "closes it\n"
       "\tif(数a==1\n"
       "\t         ^\n"},
      {"a C word the learner wrote stays",
       "はじめ\n\tprintf(\"%d\",数a\n\t見る(\"a\",数a);\nおわり\n",
       "p.zem:2:17: error: expected ')' before 'printf'\n", true,
       "p.zem:2:16: error: a ) is missing before printf: each ( needs a ) "
       "that closes it\n"
       "\tprintf(\"%d\",数a\n"
       "\t               ^\n"},
      {"a ) missing, as clang says it",
       "はじめ\n\t数a=1;\n\tif(数a==1{\n\t}\nおわり\n",
       "p.zem:3:11: error: expected ')'\n"
       "p.zem:3:4: note: to match this '('\n",
       true,
       "p.zem:3:10: error: a ) is missing here: each ( needs a ) that closes "
       "it\n"
       "\tif(数a==1{\n"
       "\t         ^\n"},
      {"a ; missing before the end of the line, after a stray sign: the sign "
       "is the mistake (gcc)",
       "はじめ\n\t数b=1 # 2;\nおわり\n",
       "p.zem:2:7: error: stray '#' in program\n"
       "p.zem:2:7: error: expected ';' before numeric constant\n",
       true,
       "p.zem:2:7: error: # cannot stand here: outside quotes, C reads only "
       "names, numbers and its own signs\n"
       "\t数b=1 # 2;\n"
       "\t      ^\n"},
      {"the same as clang says it: what is missing, once",
       "はじめ\n\t数b=1 # 2;\nおわり\n",
       "p.zem:2:7: error: expected ';' after expression\n"
       "p.zem:2:7: error: expected expression\n",
       true,
       "p.zem:2:7: error: a ; is missing here\n"
       "\t数b=1 # 2;\n"
       "\t      ^\n"},
      {"a character of no sign, named by a byte of it (gcc)",
       "はじめ\n\t数a=(1)、(2);\nおわり\n",
       "p.zem:2:9: error: stray '\\343' in program\n"
       "p.zem:2:6: error: called object '1' is not a function or function "
       "pointer\n",
       true,
       "p.zem:2:8: error: 、 cannot stand here: outside quotes, C reads only "
       "names, numbers and its own signs\n"
       "\t数a=(1)、(2);\n"
       "\t       ^\n"},
      {"the same as clang names it", "はじめ\n\t数a=(1)、(2);\nおわり\n",
       "p.zem:2:9: error: unexpected character <U+3001>\n"
       "p.zem:2:12: error: called object type 'int' is not a function or "
       "function pointer\n",
       true,
       "p.zem:2:8: error: 、 cannot stand here: outside quotes, C reads only "
       "names, numbers and its own signs\n"
       "\t数a=(1)、(2);\n"
       "\t       ^\n"},
      {"a value missing (gcc)", "はじめ\n\t数b=;\nおわり\n",
       "p.zem:2:6: error: expected expression before ';' token\n", true,
       "p.zem:2:5: error: a value is missing here: write a number, a variable "
       "or a calculation\n"
       "\t数b=;\n"
       "\t    ^\n"},
      {"an else without its if (clang: a value missing, on an else line)",
       "はじめ\n\t数a=1;\n\telse{\n\t}\nおわり\n",
       "p.zem:3:2: error: expected expression\n", true,
       "p.zem:3:2: error: this else has no if before it: an else goes right "
       "after the } that closes the block of an if\n"
       "\telse{\n"
       "\t^\n"},
      {"too few values for a function (gcc)",
       "はじめ\n\t字s=\"ab\";\n\tstrcpy(字s);\nおわり\n",
       "p.zem:3:2: error: too few arguments to function 'strcpy'\n", true,
       "p.zem:3:2: error: too few values are given to the function called "
       "here: give it each value it takes, between commas\n"
       "\tstrcpy(字s);\n"
       "\t^\n"},
      {"too many (clang)",
       "はじめ\n\t字s=\"ab\";\n\tstrcpy(字s,\"a\",\"b\");\nおわり\n",
       "p.zem:3:16: error: too many arguments to function call, expected 2, "
       "have 3\n",
       true,
       "p.zem:3:15: error: too many values are given to the function called "
       "here: give it only the values it takes\n"
       "\tstrcpy(字s,\"a\",\"b\");\n"
       "\t              ^\n"},
      {"a left side of = that is no variable (gcc)",
       "はじめ\n\t5=数a;\nおわり\n",
       "p.zem:2:3: error: lvalue required as left operand of assignment\n",
       true,
       "p.zem:2:3: error: the left of = is not a variable: = puts the value on "
       "its right into the variable on its left, as in 数a=5;. To compare two "
       "values, write ==\n"
       "\t5=数a;\n"
       "\t ^\n"},
      {"the same (clang)", "はじめ\n\t数a+1=3;\nおわり\n",
       "p.zem:2:7: error: expression is not assignable\n", true,
       "p.zem:2:6: error: the left of = is not a variable: = puts the value on "
       "its right into the variable on its left, as in 数a=5;. To compare two "
       "values, write ==\n"
       "\t数a+1=3;\n"
       "\t     ^\n"},
      {"a text too long for its variable, as gcc warns",
       "はじめ\n\t字s=\"" + std::string(300, 'x') + "\";\nおわり\n",
       "p.zem:2:2: warning: '__builtin_memcpy' writing 301 bytes into a region "
       "of size 256 overflows the destination [-Wstringop-overflow=]\n"
       "<translator>:109:34: note: destination object 'cc1' of size 256\n",
       false,
       "p.zem:2:2: warning: 字s holds at most 255 bytes of text, and this "
       "puts a text of 300 bytes into it\n\t字s=\"" +
           kClipped + "\t^\n"},
      {"the same as clang warns",
       "はじめ\n\t字s=\"" + std::string(256, 'x') + "\";\nおわり\n",
       "p.zem:2:2: warning: 'strcpy' will always overflow; destination buffer "
       "has size 256, but the source string has length 257 (including NUL "
       "byte) [-Wfortify-source]\n",
       false,
       "p.zem:2:2: warning: 字s holds at most 255 bytes of text, and this "
       "puts a text of 256 bytes into it\n\t字s=\"" +
           kClipped + "\t^\n"},
      {"a copy too long elsewhere, in bytes",
       "はじめ\n\tstrcpy(p,\"abcdef\");\nおわり\n",
       "p.zem:2:2: warning: '__builtin_memcpy' writing 7 bytes into a region "
       "of size 4 overflows the destination [-Wstringop-overflow=]\n",
       false,
       "p.zem:2:2: warning: this writes 7 bytes where only 4 fit\n"
       "\tstrcpy(p,\"abcdef\");\n"
       "\t^\n"},
      {"a variable where 見る takes a label (gcc)",
       "はじめ\n\t数a=1;\n\t数b=2;\n\t見る(\"答え\",数a,数b);\nおわり\n",
       "p.zem: In function 'main':\n"
       "p.zem:4:66: error: '\\U00006570a' undeclared (first use in this "
       "function)\n",
       true,
       "p.zem:4:10: error: 数a stands where a label goes: 見る takes a label "
       "(a "
       "text in \"…\") before each variable, as in 見る(\"label\",数a)\n"
       "\t見る(\"答え\",数a,数b);\n"
       "\t            ^\n"},
      {"a value that may be missing after a loop (gcc's optimiser)",
       "はじめ\n\t打つ(数n);\n\t数i=0;\n\twhile(数i<数n+1){\n\t\t数v=数i*2;"
       "\n\t\t数i=数i+1;\n\t}\n\t見る(\"v\",数v);\nおわり\n",
       "p.zem:8:2: warning: 'nn3' may be used uninitialized in this function "
       "[-Wmaybe-uninitialized]\n",
       false,
       "p.zem:8:9: warning: 数v may be used before it gets a value\n"
       "\t見る(\"v\",数v);\n"
       "\t         ^\n"},
      {"a missing ; placed at the token after it (gcc 10)", kDouble,
       "p.zem: In function 'main':\n"
       "p.zem:4:2: error: expected ';' before 'printf'\n",
       true,
       "p.zem:3:9: error: a ; is missing at the end of this line: a statement "
       "ends with ;\n"
       "\t数b=数a*2\n"
       "\t         ^\n"},
      {"an unknown function (tcc, which names no line)",
       "はじめ\n\t字s=\"x\";\n\t見る(\"strcopy\",字s);\n\tstrcopy(字s,\"y\");"
       "\nおわり\n",
       "/tmp/zemuc-1/p.zem:4: warning: implicit declaration of function "
       "'strcopy'\n"
       "tcc: error: undefined symbol 'strcopy'\n",
       true,
       "p.zem:4:2: error: there is no statement or function named strcopy: "
       "is a statement mistyped? (見る 打つ くり返し 開く 閉じる 読む 書く "
       "読みきり)\n"
       "\tstrcopy(字s,\"y\");\n"
       "\t^\n"},
      {"a mistyped keyword (tcc)",
       "はじめ\n\t数a=4;\n\t見ろ(\"a\",数a);\nおわり\n",
       "tcc: error: undefined symbol '見ろ'\n", true,
       "p.zem:3:2: error: there is no statement or function named 見ろ: is a "
       "statement mistyped? (見る 打つ くり返し 開く 閉じる 読む 書く "
       "読みきり)\n"
       "\t見ろ(\"a\",数a);\n"
       "\t^\n"},
      {"a ) missing (tcc)",
       "はじめ\n\t数a=1;\n\tif(数a==1{\n\t\t見る(\"a\",数a);\n\t}\nおわり\n",
       "/tmp/zemuc-1/p.zem:3: error: ')' expected (got \"{\")\n", true,
       "p.zem:3:2: error: a ) is missing before {: each ( needs a ) that "
       "closes it\n"
       "\tif(数a==1{\n"
       "\t^\n"},
      {"a value missing at a line's end, which tcc tells on the next",
       "はじめ\n\t数a=1;\n\t数b=数a+;\n\n\t見る(\"b\",数b);\nおわり\n",
       "/tmp/zemuc-1/p.zem:5: error: identifier expected\n", true,
       "p.zem:3:8: error: a value is missing here: write a number, a variable "
       "or a calculation\n"
       "\t数b=数a+;\n"
       "\t        ^\n"},
      {"the same where the line tcc names lacks it",
       "はじめ\n\t数a=1;\n\t数b=(数a+);\nおわり\n",
       "/tmp/zemuc-1/p.zem:3: error: identifier expected\n", true,
       "p.zem:3:2: error: a value is missing here: write a number, a variable "
       "or a calculation\n"
       "\t数b=(数a+);\n"
       "\t^\n"},
      {"a 読む of a file never opened: what follows from it is left out (gcc)",
       kReadMistyped,
       "p.zem: In function 'main':\n"
       "p.zem:3:4: error: label 'ERROR_END' used but not defined\n"
       "p.zem: At top level:\n"
       "p.zem:3:102: warning: data definition has no type or storage class\n"
       "p.zem:3:113: error: 'dummy' undeclared here (not in a function)\n"
       "p.zem:4:9: error: expected declaration specifiers or '...' before "
       "string constant\n"
       "p.zem:4:21: error: expected declaration specifiers or '...' before "
       "string constant\n"
       "p.zem:4:26: error: expected declaration specifiers or '...' before "
       "'nn1'\n"
       "<translator>:1:31: error: expected '=', ',', ';', 'asm' or "
       "'__attribute__' before ':' token\n",
       true, kReadMistypedTold},
      {"the same (clang)", kReadMistyped,
       "p.zem:2:146: error: use of undeclared label 'ERROR_END'\n"
       "p.zem:3:113: error: use of undeclared identifier 'dummy'\n"
       "p.zem:4:9: error: expected parameter declarator\n"
       "p.zem:4:9: error: expected ')'\n"
       "p.zem:4:8: note: to match this '('\n"
       "p.zem:4:2: error: conflicting types for 'printf'\n"
       "<translator>:1:31: error: expected ';' after top level declarator\n",
       true, kReadMistypedTold},
      {"the same (tcc, whose first error is the label at main's end)",
       kReadMistyped,
       "/tmp/zemuc-1/p.zem:3: error: label 'ERROR_END' used but not defined\n",
       true, kReadMistypedTold},
      {"a text copied onto itself (gcc)",
       "はじめ\n\t字s=\"ab\";\n\tstrcat(字s,字s);\nおわり\n",
       "p.zem:3:9: warning: passing argument 1 to 'restrict'-qualified "
       "parameter aliases with argument 2 [-Wrestrict]\n",
       false,
       "p.zem:3:9: warning: two of the texts given here are the same place in "
       "memory and cannot be copied right: copy from and to different "
       "variables\n"
       "\tstrcat(字s,字s);\n"
       "\t       ^\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Program program = program_of(c.source);
    const CompilerCopy copy = make_compiler_copy(program, true);
    const explain::Explanation told =
        explain::explain_build(program, copy.map, c.output, c.failed,
                               Language::kEnglish, Encoding::kUtf8);
    EXPECT_EQ(told.shown, c.told);
  }
}

// A warning of the compiler's about a line that the check has told of
// (here one before はじめ, as gcc 12 warns of it) is not said again.
TEST(ExplainBuild, AWarningOfALineOutsideTheProgramIsTheChecks) {
  const Program program =
      program_of("\t数a=1;\nはじめ\n\t見る(\"a\");\nおわり\n");
  const CompilerCopy copy = make_compiler_copy(program, true);
  const explain::Explanation told = explain::explain_build(
      program, copy.map,
      "p.zem:1:2: warning: data definition has no type or storage class\n",
      false, Language::kEnglish, Encoding::kUtf8);
  EXPECT_EQ(told.shown, "");
  EXPECT_FALSE(told.source_errors);
}

// A build that fails where no line of the source is to blame (a missing
// run-time, an option the compiler lacks) is no error of the program.
TEST(ExplainBuild, FailuresOfTheToolsAreNotTheSources) {
  const Program program = program_of("はじめ\n\t数a=1;\nおわり\n");
  const CompilerCopy copy = make_compiler_copy(program, true);
  const explain::Explanation told = explain::explain_build(
      program, copy.map,
      "/usr/bin/ld: cannot find -lasan: No such file or directory\n"
      "collect2: error: ld returned 1 exit status\n",
      true, Language::kEnglish, Encoding::kUtf8);
  EXPECT_TRUE(told.errors);
  EXPECT_FALSE(told.source_errors);
  EXPECT_EQ(told.shown,
            "zemuc: error: the compiler: cannot find -lasan: No such file or "
            "directory\n");
}

TEST(ExplainBuild, JapaneseAndShiftJisTerminals) {
  const Program program = program_of("はじめ\n\t値=5;\nおわり\n");
  const CompilerCopy copy = make_compiler_copy(program, true);
  const char* output = "p.zem:2:2: error: use of undeclared identifier '値'\n";
  const std::string japanese =
      "p.zem:2:2: error: 値 は変数ではありません。変数の名前は 数 "
      "(数を入れるとき) か 字 (文字を入れるとき) で始めます: 数値 や 字値 "
      "のように\n\t値=5;\n\t^\n";
  EXPECT_EQ(explain::explain_build(program, copy.map, output, true,
                                   Language::kJapanese, Encoding::kUtf8)
                .shown,
            japanese);
  EXPECT_EQ(explain::explain_build(program, copy.map, output, true,
                                   Language::kJapanese, Encoding::kShiftJis)
                .shown,
            sjis(japanese));
}

}  // namespace
}  // namespace zemuc::testing
