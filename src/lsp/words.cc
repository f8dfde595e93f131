#include "lsp/words.h"

#include <array>

#include "check/problems.h"
#include "text/encoding.h"

namespace zemuc::lsp {
namespace {

struct StatementWords {
  Keyword keyword;
  // After the keyword: the usual operands in each language, and the
  // snippet's.
  std::string_view operands_japanese;
  std::string_view operands_english;
  std::string_view snippet;
  Text does;
};

constexpr std::array kStatements = {
    StatementWords{Keyword::kBegin,
                   "",
                   "",
                   "",
                   {"プログラムの始まり。最初の行に一つだけ書く。Cでは "
                    "#include、main() { と、すべての変数・ファイル・数え用の"
                    "変数の宣言になる",
                    "begins the program, alone on the first line: the "
                    "includes, main() { and the declarations of every "
                    "variable, file and loop counter"}},
    StatementWords{Keyword::kEnd,
                   "",
                   "",
                   "",
                   {"プログラムの終わり。最後の行に一つだけ書く。Cでは共通の"
                    "エラー出口、終わりの案内、一語を待つ scanf、main "
                    "の終わりになる",
                    "ends the program, alone on the last line: the common "
                    "error exit, the closing prompt, a wait for one word and "
                    "the end of main"}},
    StatementWords{Keyword::kDisplay,
                   "(\"見出し\",数a)",
                   "(\"label\",数a)",
                   "(\"$1\",$2)",
                   {"見出しと変数の値を「見出し[値]」の形で一行ずつ見せる"
                    "(変数ごとに printf 一つ)。文字列だけなら "
                    "その文字列を見せる",
                    "shows each variable after its label as label[value], one "
                    "printf per variable, on its own line; or shows a text"}},
    StatementWords{Keyword::kInput,
                   "(数a)",
                   "(数a)",
                   "($1)",
                   {"キーボードから変数に読み込む(変数ごとに scanf "
                    "一つ。数なら数、字なら一語)",
                    "reads from the keyboard into each variable, one scanf "
                    "per variable: a number, or one word"}},
    StatementWords{Keyword::kRepeat,
                   "(10){ … }",
                   "(10){ ... }",
                   "($1){\n\t$0\n\\}",
                   {"{ } の中を数えた回数くり返す(C の for)。回数は数か変数",
                    "repeats the block a counted number of times (a C for "
                    "loop); the count is a number or a variable"}},
    StatementWords{Keyword::kOpen,
                   "(入力,\"in.txt\",r)",
                   "(in,\"in.txt\",r)",
                   "($1,\"$2\",$3)",
                   {"ファイルを開く(fopen)。r は読む、w は書く。読むファイル"
                    "が無ければ知らせてプログラムを終える",
                    "opens a file (fopen), r to read, w to write; a file to "
                    "read that is missing is told and ends the program"}},
    StatementWords{Keyword::kClose,
                   "(入力)",
                   "(in)",
                   "($1)",
                   {"開いたファイルを閉じる(fclose)",
                    "closes a file that was opened (fclose)"}},
    StatementWords{Keyword::kRead,
                   "(入力,数a)",
                   "(in,数a)",
                   "($1,$2)",
                   {"ファイルから一行を変数に読む。データが終わっていれば"
                    "知らせてプログラムを終える",
                    "reads one line of the file into the variable; at the "
                    "end of the data it says so and ends the program"}},
    StatementWords{Keyword::kWrite,
                   "(出力,数a)",
                   "(out,数a)",
                   "($1,$2)",
                   {"変数の値をファイルに一行として書く",
                    "writes the variable's value as one line of the file"}},
    StatementWords{Keyword::kReadAll,
                   "(入力,字s){ … }",
                   "(in,字s){ ... }",
                   "($1,$2){\n\t$0\n\\}",
                   {"ファイルのすべての行について、一行ずつ変数に読んで "
                    "{ } の中をくり返す",
                    "repeats the block for every line of the file, read into "
                    "the variable"}},
};

const StatementWords* words_of(Keyword keyword) {
  for (const StatementWords& words : kStatements) {
    if (words.keyword == keyword) return &words;
  }
  return nullptr;
}

}  // namespace

std::string keyword_name(Keyword keyword) {
  return convert_text(keyword_spelling(keyword), Encoding::kShiftJis,
                      Encoding::kUtf8);
}

std::string usual_form(Keyword keyword, Language language) {
  const StatementWords* words = words_of(keyword);
  if (words == nullptr) return {};
  return keyword_name(keyword) +
         std::string(
             pick(language, words->operands_japanese, words->operands_english));
}

std::string snippet_of(Keyword keyword) {
  const StatementWords* words = words_of(keyword);
  return words == nullptr ? std::string()
                          : keyword_name(keyword) + std::string(words->snippet);
}

std::string plain_insert_of(Keyword keyword) {
  const StatementWords* words = words_of(keyword);
  if (words == nullptr) return {};
  return words->snippet.empty() ? keyword_name(keyword)
                                : keyword_name(keyword) + "(";
}

std::string statement_description(Keyword keyword, Language language) {
  const StatementWords* words = words_of(keyword);
  return words == nullptr ? std::string()
                          : std::string(pick(language, words->does.japanese,
                                             words->does.english));
}

std::string_view problem_code(check::Problem problem) {
  return check::problem_row(problem).code;
}

}  // namespace zemuc::lsp
