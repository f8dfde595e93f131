#include "check/problems.h"

#include <array>
#include <cstddef>

namespace zemuc::check {
namespace {

// In the order of enum Problem.
constexpr std::array kRows = {
    ProblemRow{Problem::kKeywordGlued,
               "keyword-glued",
               {"「{subject}"
                "」のすぐ後ろに文字が続いているので、命令として読まれず、この"
                "行はそのままCに写されます。すぐ後ろに ( "
                "を書いて「{subject}(…)」としてください。",
                "'{subject}' runs into the text after it, so it is no "
                "statement and the line is copied into the C as it is. Write "
                "a ( right after it: {subject}(...)."}},
    ProblemRow{Problem::kKeywordSpaceRemoved,
               "keyword-space-removed",
               {"空白は取り除かれるので、「{subject}"
                "」が後ろの文字とつながり、命令として読まれません。空白ではな"
                "く ( で区切って「{subject}(…)」と書いてください。",
                "blanks are removed, so '{subject}' joins the text after it "
                "and is no statement. Separate them with a ( instead of a "
                "blank: {subject}(...)."}},
    ProblemRow{Problem::kKeywordAfterElse,
               "keyword-after-else",
               {"else の後ろの空白は残るので、else "
                "と「{subject}」が一つの語になり、命令として読まれません。「}}"
                "else{{」の行、命令の行、「}}」の行に分けて書いてください。",
                "the blank after else is kept, so else and '{subject}' form "
                "one word and no statement is read. Write }}else{{, the "
                "statement and }} on lines of their own."}},
    ProblemRow{
        Problem::kWideSpace,
        "wide-space",
        {"全角の空白は区切りになりません。後ろのことばは命令や変数として読まれ"
         "ず、Cもできません。字下げにはタブか半角の空白を使ってください。",
         "a full-width space is no blank here: the word after it is not read "
         "as a keyword or a variable, and the C does not build. Indent with "
         "tabs or ordinary spaces."}},
    ProblemRow{Problem::kKeywordInComment,
               "keyword-in-comment",
               {"コメントの中でも「{subject}"
                "」は命令として訳され、そのCがコメントの外に出ます("
                "コメントの終わりが消えるか、二行目からが外になります)"
                "。コメントには命令の名前を単独で書かないでください。",
                "'{subject}' is translated as a statement even in a comment, "
                "and its C gets out of the comment (the comment's end is "
                "lost, or the lines after the first stand outside it). Do not "
                "write a keyword on its own in a comment."}},
    ProblemRow{Problem::kSecondStatement,
               "second-statement",
               {"一つの行で訳される命令は最初の一つだけなので、この「{subject}"
                "」は捨てられます。命令は一行に一つずつ書いてください。",
                "only the first statement of a line is translated, so this "
                "'{subject}' is dropped. Write one statement per line."}},
    ProblemRow{Problem::kVariableBeforeKeyword,
               "variable-before-keyword",
               {"命令の前のことばはそのままCに写されるので、変数「{subject}"
                "」がCの名前に置き換わらず、Cができません。条件は前の行に「if("
                "…){{」と書き、命令は次の行に書いてください。",
                "the text before a statement is copied into the C as it is, "
                "so the variable '{subject}' keeps its own name and the C "
                "does not build. Write the condition as if(...){{ on a line "
                "of its own and the statement on the next."}},
    ProblemRow{Problem::kTextBeforeRepeated,
               "text-before-repeated",
               {"「{subject}"
                "」の前の文字は、この命令が書くCの各行の前にくり返し写され、C"
                "がおかしくなります。「{subject}"
                "」は行を分けて、前にはタブだけを置いてください。",
                "the text before '{subject}' is copied before every line of "
                "the C that it writes, so it stands there several times. "
                "Write '{subject}' on a line of its own, after tabs only."}},
    ProblemRow{
        Problem::kDisplayNoLabel,
        "display-no-label",
        {"変数「{subject}"
         "」の前に見出しの文字列がないので、その前のことばがそのまま見出しにな"
         "り、Cができません。{display}(\"見出し\",{subject}) "
         "のように、変数ごとに前に文字列を書いてください。",
         "the variable '{subject}' has no text before it, so the word before "
         "it is taken as its label and the C does not build. Write a text "
         "before each variable: {display}(\"label\",{subject})."}},
    ProblemRow{
        Problem::kDisplayNothing,
        "display-nothing",
        {"見せるものがないので、翻訳はこの行で止まります。{display}(\"文字\") "
         "か {display}(\"見出し\",変数) と書いてください。",
         "there is nothing to show, so the translation stops at this line. "
         "Write {display}(\"text\") or {display}(\"label\",variable)."}},
    ProblemRow{Problem::kTextAfterSemicolon,
               "text-after-semicolon",
               {"行は最初の ; "
                "で終わるので、ここから後ろは捨てられます。命令は一行に一つず"
                "つ書いてください。",
                "a line ends at its first ;, so everything from here on is "
                "dropped. Write one statement per line."}},
    ProblemRow{Problem::kCommentCutBySemicolon,
               "comment-cut-by-semicolon",
               {"コメントの中のこの ; で行が終わり、コメントの終わりの */ "
                "が捨てられるので、コメントが後ろの行をのみこみます。コメント"
                "には ; を書かないでください。",
                "the line ends at this ; inside a comment and the comment's "
                "*/ is dropped, so the comment runs on over the lines after "
                "it. Do not write ; in a comment."}},
    ProblemRow{
        Problem::kSpacesInQuotes,
        "spaces-in-quotes",
        {"\" \" の中でも半角の空白は取り除かれ、{subject} "
         "になります。空白が要るところには全角の空白(　)を使ってください。",
         "spaces are removed inside quotes too: this becomes {subject}. Use "
         "the full-width space (　) where you need one."}},
    ProblemRow{
        Problem::kNameCut,
        "name-cut",
        {"「{subject}」の二つ目のバイトは {{ か }} "
         "と同じなので、名前がここで二つに切れます。名前には別の字を使ってくだ"
         "さい(\" \" の中なら大丈夫です)。",
         "the second byte of '{subject}' is a brace, so the name is cut in two "
         "here. Use another character in names (inside quotes it is safe)."}},
    ProblemRow{Problem::kOperatorInName,
               "operator-in-name",
               {"「{subject}」が一つの変数の名前として読まれ、記号は演算子に"
                "なりません。({num}a)!=0 や ({num}a)%({num}b) のように、変数"
                "をかっこで囲んでください。",
                "'{subject}' is read as one variable name: the sign in it is "
                "no operator. Put each variable in parentheses, as in "
                "({num}a)!=0 or ({num}a)%({num}b)."}},
    ProblemRow{
        Problem::kNameAfterSign,
        "name-after-sign",
        {"「{subject}"
         "」は一つのことばとして読まれ、変数の名前が置き換わらないので、Cができ"
         "ません。{mend} のように、変数をかっこで囲んでください。",
         "'{subject}' is read as one word, so the variable in it keeps its own "
         "name and the C does not build. Put the variable in parentheses: "
         "{mend}."}},
    ProblemRow{
        Problem::kFileNotOpened,
        "file-not-opened",
        {"「{subject}」を開く行がないので、この命令は何も書きません。{open}({"
         "subject},\"ファイル名\",w) で付けた名前を使ってください。",
         "no {open} line opens a file named '{subject}', so this statement "
         "writes nothing. Use the name given in "
         "{open}({subject},\"file\",w)."}},
    ProblemRow{
        Problem::kReadFileNotOpened,
        "read-file-not-opened",
        {"「{subject}"
         "」を開く行がないので、読み込みの部分が抜けてCができません。{open}({"
         "subject},\"ファイル名\",r) で付けた名前を使ってください。",
         "no {open} line opens a file named '{subject}', so the reading part "
         "is left out and the C does not build. Use the name given in "
         "{open}({subject},\"file\",r)."}},
    ProblemRow{
        Problem::kNotAVariable,
        "not-a-variable",
        {"「{subject}」は変数ではない(変数の名前は {num} か {str} "
         "で始まります)"
         "ので、これには何も読み書きされません。変数の名前を書いてください。",
         "'{subject}' is no variable (variable names begin with {num} or "
         "{str}), so nothing is read or written for it. Write a variable's "
         "name."}},
    ProblemRow{Problem::kNoVariable,
               "no-variable",
               {"「{subject}"
                "」に変数が書かれていないので、何も読み書きされません。変数の"
                "名前を書いてください。",
                "'{subject}' names no variable, so nothing is read or "
                "written. Write a variable's name."}},
    ProblemRow{Problem::kRepeatBoundExpression,
               "repeat-bound-expression",
               {"くり返す回数には最初のことば「{subject}"
                "」だけが使われ、残りは捨てられます。計算は前の行で変数に入れ"
                "て、その変数を書いてください。",
                "only the first word of the count, '{subject}', is used and "
                "the rest is dropped. Compute the count into a variable on "
                "the line before and write that variable."}},
    ProblemRow{Problem::kRepeatBoundMissing,
               "repeat-bound-missing",
               {"くり返す回数がないので、Cができません。{repeat}(10){{ か "
                "{repeat}({num}n){{ のように書いてください。",
                "the count is missing, so the C does not build. Write "
                "{repeat}(10){{ or {repeat}({num}n){{."}},
    ProblemRow{
        Problem::kOpenModeOther,
        "open-mode-other",
        {"モード「{subject}」は r "
         "ではないので、ファイルは書き込み用に開かれます(中身は消えます)"
         "。読むなら r、書くなら w と、引用符なしで書いてください。",
         "the mode '{subject}' is not r, so the file is opened for writing "
         "(and emptied). Write r to read or w to write, without quotes."}},
    ProblemRow{Problem::kOpenModeMissing,
               "open-mode-missing",
               {"モードがないので、ファイルは書き込み用に開かれます。{open}("
                "名前,\"ファイル名\",r) のように r か w を書いてください。",
                "the mode is missing, so the file is opened for writing. Add "
                "r or w: {open}(name,\"file\",r)."}},
    ProblemRow{
        Problem::kFileOpenedTwice,
        "file-opened-twice",
        {"「{subject}」はもう開かれているので、この行も最初の {open} "
         "のファイル名とモードで開きます。別の名前を付けてください。",
         "'{subject}' was opened before, so this line opens it with the first "
         "{open}'s path and mode. Give this file another name."}},
    ProblemRow{Problem::kOpenPathNotYetSet,
               "open-path-not-yet-set",
               {"変数「{subject}"
                "」はこの行で初めて出てくるので、ファイル名として名前がそのま"
                "まCに写され、Cができません。前の行で "
                "{subject}=\"ファイル名\"; としてください。",
                "the variable '{subject}' first appears on this line, so its "
                "name is copied into the C as the path and the C does not "
                "build. Set it on an earlier line: {subject}=\"file\";."}},
    ProblemRow{Problem::kStringCompare,
               "string-compare",
               {"文字列の変数「{subject}」の後ろの = は写しになるので、== "
                "では比べられず、Cもできません。strcmp({subject},{str}t)==0 "
                "と書いてください。",
                "after the string variable '{subject}' an = is a copy, so == "
                "does not compare and the C does not build. Write "
                "strcmp({subject},{str}t)==0."}},
    ProblemRow{Problem::kStringCopyTab,
               "string-copy-tab",
               {"= "
                "の前か後ろにタブがあるので、文字列の変数「{subject}"
                "」への写しにならず、Cができません。{subject}=\"…\"; "
                "のようにタブを入れずに書いてください。",
                "with a tab before or after the =, the string variable "
                "'{subject}' is not copied and the C does not build. Write "
                "{subject}=\"...\"; without tabs."}},
    ProblemRow{
        Problem::kUnclosedBrace,
        "unclosed-brace",
        {"ここで開いたブロックがプログラムの終わりまでに閉じられていないので、C"
         "ができません。ブロックの終わりに }} の行を書いてください。",
         "the block opened here is not closed by the end of the program, so "
         "the C does not build. Write a }} line where the block ends."},
        {Follows::kEndOfInput,
         {"{{ と }} が合いません: この行の {{ (またはその中の {{) を閉じる }} "
          "がありません",
          "the braces do not pair: the {{ on this line, or one inside it, is "
          "never "
          "closed by a }}"}}},
    ProblemRow{Problem::kStrayClosingBrace,
               "stray-closing-brace",
               {"この }} で閉じるブロックがないので、Cができません。余分な }} "
                "を消してください。",
                "this }} closes no block, so the C does not build. Remove it."},
               {Follows::kFromItsLine,
                {"{{ と }} が合いません: この }} が閉じる {{ がありません",
                 "the braces do not pair: this }} closes no {{"}}},
    ProblemRow{Problem::kBeginMissing,
               "begin-missing",
               {"{begin} の行がないので、Cに main "
                "がなく、Cができません。最初の行に {begin} と書いてください。",
                "there is no {begin} line, so the C has no main and does not "
                "build. Write {begin} on the first line."},
               {Follows::kEverything,
                {"プログラムに はじめ の行がありません。プログラムは はじめ "
                 "で始めて おわり "
                 "で終えます",
                 "the program has no はじめ line: a program begins with はじめ "
                 "and ends "
                 "with おわり"},
                true}},
    ProblemRow{
        Problem::kBeginRepeated,
        "begin-repeated",
        {"二つ目の {begin} で、Cの頭(#include と "
         "main)がもう一度書かれ、Cができません。{begin} は一つにしてください。",
         "a second {begin} writes the head of the C (the includes and main) "
         "again, so the C does not build. Keep one {begin}."},
        {Follows::kFromItsLine,
         {"二つ目の はじめ です。はじめ は一つだけ、プログラムの最初に書きます",
          "a second はじめ: a program has one はじめ, at its start"}}},
    ProblemRow{
        Problem::kEndMissing,
        "end-missing",
        {"{end} の行がないので、Cの main "
         "が閉じられず、Cができません。最後の行に {end} と書いてください。",
         "there is no {end} line, so main is never closed and the C does not "
         "build. Write {end} on the last line."},
        {Follows::kEndOfInput,
         {"プログラムに おわり の行がありません。プログラムは はじめ で始めて "
          "おわり "
          "で終えます",
          "the program has no おわり line: a program begins with はじめ and "
          "ends "
          "with おわり"},
         true}},
    ProblemRow{
        Problem::kEndRepeated,
        "end-repeated",
        {"二つ目の {end} で、Cの終わりがもう一度書かれ、Cができません。{end} "
         "は一つにしてください。",
         "a second {end} writes the end of the C again, so the C does not "
         "build. Keep one {end}."},
        {Follows::kFromItsLine,
         {"二つ目の おわり です。おわり は一つだけ、プログラムの最後に書きます",
          "a second おわり: a program has one おわり, at its end"}}},
    ProblemRow{
        Problem::kEndBeforeBegin,
        "end-before-begin",
        {"{end} が {begin} "
         "より前にあるので、Cの終わりが頭より先に書かれ、Cができません。{end} "
         "は最後の行に書いてください。",
         "{end} comes before {begin}, so the end of the C is written before "
         "its head and the C does not build. Write {end} on the last line."},
        {Follows::kEverything,
         {"おわり が はじめ より前にあります。プログラムは はじめ で始めて "
          "おわり "
          "で終えます",
          "おわり comes before はじめ: a program begins with はじめ and ends "
          "with "
          "おわり"}}},
    ProblemRow{
        Problem::kCodeBeforeBegin,
        "code-before-begin",
        {"{begin} より前の行は main の外に書かれるので、実行されず、たいていは"
         "Cもできません。{begin} の後ろに移してください。",
         "lines before {begin} are written outside main, where nothing runs: "
         "most of them stop the C from building. Move them after {begin}."},
        {Follows::kBeforeBegin,
         {"この行は はじめ より前にあります。プログラムの行は はじめ と おわり "
          "の間に書きます",
          "this line stands before はじめ: the program's lines go between "
          "はじめ "
          "and おわり"}}},
    ProblemRow{
        Problem::kCodeAfterEnd,
        "code-after-end",
        {"{end} より後ろの行は main の外に書かれるので、実行されず、たいていは"
         "Cもできません。{end} の前に移してください。",
         "lines after {end} are written outside main, where nothing runs: most "
         "of them stop the C from building. Move them before {end}."},
        {Follows::kFromItsLine,
         {"この行は おわり より後ろにあります。プログラムの行は はじめ と "
          "おわり "
          "の間に書きます",
          "this line stands after おわり: the program's lines go between "
          "はじめ and "
          "おわり"}}},
    ProblemRow{
        Problem::kRepeatBeforeBegin,
        "repeat-before-begin",
        {"{begin} より前の {repeat} "
         "は、用意されていない数え用の変数を使うので、Cができません。{"
         "begin} の後ろに移してください。",
         "a {repeat} before {begin} uses a loop counter that was never "
         "declared, so the C does not build. Move it after {begin}."},
        {Follows::kBeforeBegin,
         {"くり返し が はじめ より前にあります。くり返し は はじめ と おわり "
          "の間に書きます",
          "a くり返し before はじめ: it goes between はじめ and おわり"}}},
};

constexpr bool rows_in_order() {
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    if (static_cast<std::size_t>(kRows[i].problem) != i) return false;
  }
  return kRows.size() ==
         static_cast<std::size_t>(Problem::kRepeatBeforeBegin) + 1;
}
static_assert(rows_in_order(), "one row for each problem, in enum order");

constexpr ProblemRow kUnknown = {Problem::kKeywordGlued, "finding", {}};

}  // namespace

const ProblemRow& problem_row(Problem problem) {
  const auto at = static_cast<std::size_t>(problem);
  return at < kRows.size() ? kRows[at] : kUnknown;
}

}  // namespace zemuc::check
