// What gcc and clang say about the copy, told in the learner's terms: the
// messages as the compilers write them (captured from gcc 12 and clang 14
// on these very programs), and what the learner reads.
#include "compiler/explain.h"

#include <gtest/gtest.h>

#include "compiler/compiler_support.h"

namespace zemuc::testing {
namespace {

compiler::Explanation explain(const char* source, const char* output,
                              bool failed = true,
                              Language language = Language::kEnglish,
                              Encoding terminal = Encoding::kUtf8) {
  const compiler::Program program = program_of(source);
  return compiler::explain_build(
      program, compiler::make_compiler_copy(program, true).map, output, failed,
      language, terminal);
}

// Who is to blame for what the compiler said: no one (warnings only, the
// build went on), the program (the source or the frame: a build without
// checks fails the same), or the tools.
enum class Blame { kNone, kProgram, kTools };

constexpr const char* kDouble =
    "はじめ\n\t打つ(数a);\n\t数b=数a*2\n\t見る(\"二倍\",数b);\nおわり\n";
constexpr const char* kNoSemicolon =
    "p.zem:3:9: error: a ; is missing at the end of this line: a statement "
    "ends with ;\n"
    "\t数b=数a*2\n"
    "\t         ^\n";

TEST(ExplainBuild, CompilerMessagesInTheLearnersTermsAndWhoIsToBlame) {
  const struct {
    const char* what;
    const char* source;
    const char* output;
    Blame blame;
    const char* told;
  } cases[] = {
      {"a missing ; (gcc)", kDouble,
       "p.zem: In function 'main':\n"
       "p.zem:3:11: error: expected ';' before 'printf'\n",
       Blame::kProgram, kNoSemicolon},
      {"a missing ; (clang)", kDouble,
       "p.zem:3:11: error: expected ';' after expression\n"
       "1 error generated.\n",
       Blame::kProgram, kNoSemicolon},
      {"a word that is no variable (gcc in the C locale)",
       "はじめ\n\t値=5;\nおわり\n",
       "p.zem:2:2: error: '\\U00005024' undeclared (first use in this "
       "function)\n"
       "p.zem:2:2: note: each undeclared identifier is reported only once\n",
       Blame::kProgram,
       "p.zem:2:2: error: 値 is not a variable: a variable's name begins "
       "with 数 (for a number) or 字 (for a text), as in 数値 or 字値\n"
       "\t値=5;\n"
       "\t^\n"},
      {"a keyword joined to its text (clang)", "はじめ\n\t見る数a;\nおわり\n",
       "p.zem:2:2: error: use of undeclared identifier '見る数a'\n",
       Blame::kProgram,
       "p.zem:2:2: error: 見る数a begins with 見る but is no statement: write "
       "見る(...)\n"
       "\t見る数a;\n"
       "\t^\n"},
      {"an unknown function, from the linker",
       "はじめ\n\t\thyouji(3);\nおわり\n",
       "/usr/bin/ld: /tmp/cc1.o: in function `main':\n"
       "/tmp/w/p.zem:2: undefined reference to `hyouji'\n"
       "collect2: error: ld returned 1 exit status\n",
       Blame::kProgram,
       "p.zem:2:3: error: there is no statement or function named hyouji: is "
       "a statement mistyped? (見る 打つ くり返し 開く 閉じる 読む 書く "
       "読みきり)\n"
       "\t\thyouji(3);\n"
       "\t\t^\n"},
      {"no はじめ: nothing defines main", "\t見る(\"a\");\n",
       "/usr/bin/ld: /usr/lib/x86_64-linux-gnu/Scrt1.o: in function `_start':\n"
       "(.text+0x17): undefined reference to `main'\n",
       Blame::kProgram,
       "p.zem: error: the program has no はじめ line: a program begins with "
       "はじめ and ends with おわり\n"},
      {"a number put into a string variable (gcc)",
       "はじめ\n\t数a=3;\n\t字s=数a;\nおわり\n",
       "p.zem:3:13: error: passing argument 2 of 'strcpy' makes pointer from "
       "integer without a cast [-Werror=int-conversion]\n"
       "<translator>:3: note: expected 'const char *' but argument is of "
       "type 'int'\n",
       Blame::kProgram,
       "p.zem:3:5: error: 字s holds a text, and the number 数a cannot be put "
       "into it as it is: sprintf(字s,\"%d\",数a); writes the number as a "
       "text\n"
       "\t字s=数a;\n"
       "\t    ^\n"},
      {"a text put into a number variable (clang)",
       "はじめ\n\t字s=\"1\";\n\t数a=字s;\nおわり\n",
       "p.zem:3:5: error: incompatible pointer to integer conversion "
       "assigning to 'int' from 'char[256]' [-Werror,-Wint-conversion]\n",
       Blame::kProgram,
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
       Blame::kNone,
       "p.zem:2:9: warning: 数a is used before it gets a value\n"
       "\t見る(\"a\",数a);\n"
       "\t         ^\n"},
      {"warnings about the translator's code are not the learner's",
       "はじめ\n\t打つ(字s);\nおわり\n",
       "p.zem:2:8: warning: format '%s' expects argument of type 'char *', "
       "but argument 4 has type 'char (*)[256]' [-Wformat=]\n"
       "<translator>:101:8: warning: format '%s' expects argument of type "
       "'char *', but argument 4 has type 'char (*)[100]' [-Wformat=]\n"
       "<translator>:1:1: warning: return type defaults to 'int'\n",
       Blame::kNone, ""},
      {"other words stay the compiler's, names mapped",
       "はじめ\n\t数a=1;\n\tif(数a=2)見る(\"x\");\nおわり\n",
       "p.zem:3:5: warning: suggest parentheses around assignment used as "
       "truth value [-Wparentheses]\n",
       Blame::kNone,
       "p.zem:3:5: warning: suggest parentheses around assignment used as "
       "truth value [-Wparentheses]\n"
       "\tif(数a=2)見る(\"x\");\n"
       "\t   ^\n"},
      {"an error in the frame is said in words", "はじめ\n\t数a=1;\nおわり\n",
       "<translator>:7:2: error: label at end of compound statement\n",
       Blame::kProgram,
       "p.zem: error: label at end of compound statement (in the code the "
       "translator writes around the program)\n"},
      {"a full-width ; (gcc, in double quotes)", "はじめ\n\t数a=1；\nおわり\n",
       "p.zem:2:5: error: invalid suffix \"\\U0000ff1b\" on integer "
       "constant\n",
       Blame::kProgram,
       "p.zem:2:6: error: ； is a full-width character, which C does not "
       "read: write the half-width ;\n"
       "\t数a=1；\n"
       "\t     ^\n"},
      {"full-width brackets (gcc)", "はじめ\n\t見る（\"a\"）;\nおわり\n",
       "p.zem:2:2: error: '\\U0000898b\\U0000308b\\U0000ff08' undeclared "
       "(first use in this function)\n",
       Blame::kProgram,
       "p.zem:2:4: error: （ is a full-width character, which C does not "
       "read: write the half-width (\n"
       "\t見る（\"a\"）;\n"
       "\t    ^\n"},
      {"full-width brackets (clang)", "はじめ\n\t見る（\"a\"）;\nおわり\n",
       "p.zem:2:8: error: character <U+FF08> not allowed in an identifier\n"
       "p.zem:2:2: error: use of undeclared identifier '見る（'\n"
       "p.zem:2:14: error: unexpected character <U+FF09>\n",
       Blame::kProgram,
       "p.zem:2:4: error: （ is a full-width character, which C does not "
       "read: write the half-width (\n"
       "\t見る（\"a\"）;\n"
       "\t    ^\n"
       "p.zem:2:8: error: ） is a full-width character, which C does not "
       "read: write the half-width )\n"
       "\t見る（\"a\"）;\n"
       "\t         ^\n"},
      {"a brace never closed: the compiler speaks of the end",
       "はじめ\n\tくり返し(3){\n\t\t見る(\"x\");\nおわり\n",
       "<translator>:1:1: error: expected declaration or statement at end of "
       "input\n",
       Blame::kProgram,
       "p.zem:2:2: error: the braces do not pair: the { on this line, or one "
       "inside it, is never closed by a }\n"
       "\tくり返し(3){\n"
       "\t^\n"},
      {"a brace too many: what follows it is the compiler's confusion",
       "はじめ\n\t値=1;\n\t}\n\t見る(\"y\");\nおわり\n",
       "p.zem:2:2: error: '\\U00005024' undeclared\n"
       "p.zem:4:2: error: expected identifier or '(' before string constant\n"
       "<translator>:2:2: error: expected identifier or '(' before '}'\n",
       Blame::kProgram,
       "p.zem:2:2: error: 値 is not a variable: a variable's name begins "
       "with 数 (for a number) or 字 (for a text), as in 数値 or 字値\n"
       "\t値=1;\n"
       "\t^\n"
       "p.zem:3:2: error: the braces do not pair: this } closes no {\n"
       "\t}\n"
       "\t^\n"},
      {"a tool failing (a missing run-time), no line of the source to blame",
       "はじめ\n\t数a=1;\nおわり\n",
       "/usr/bin/ld: cannot find -lasan: No such file or directory\n"
       "collect2: error: ld returned 1 exit status\n",
       Blame::kTools,
       "zemuc: error: the compiler: cannot find -lasan: No such file or "
       "directory\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const compiler::Explanation told =
        explain(c.source, c.output, c.blame != Blame::kNone);
    EXPECT_EQ(told.shown, c.told);
    EXPECT_EQ(told.errors, c.blame != Blame::kNone);
    EXPECT_EQ(told.source_errors, c.blame == Blame::kProgram);
  }
}

TEST(ExplainBuild, JapaneseAndShiftJisTerminals) {
  const char* source = "はじめ\n\t値=5;\nおわり\n";
  const char* output = "p.zem:2:2: error: use of undeclared identifier '値'\n";
  const std::string japanese =
      "p.zem:2:2: error: 値 は変数ではありません。変数の名前は 数 "
      "(数を入れるとき) か 字 (文字を入れるとき) で始めます: 数値 や 字値 "
      "のように\n\t値=5;\n\t^\n";
  EXPECT_EQ(explain(source, output, true, Language::kJapanese).shown, japanese);
  EXPECT_EQ(
      explain(source, output, true, Language::kJapanese, Encoding::kShiftJis)
          .shown,
      sjis(japanese));
}

}  // namespace
}  // namespace zemuc::testing
