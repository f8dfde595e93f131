// The server's own words: what each statement does and how it is usually
// written, and the names of the check's findings in diagnostics.
#ifndef ZEMUC_LSP_WORDS_H_
#define ZEMUC_LSP_WORDS_H_

#include <string>
#include <string_view>

#include "check/check.h"
#include "lexer/keywords.h"
#include "text/encoding.h"
#include "text/language.h"

namespace zemuc::lsp {

// The translator's Shift-JIS as the editor's UTF-8.
inline std::string utf8_of(std::string_view sjis) {
  return convert_text(sjis, Encoding::kShiftJis, Encoding::kUtf8);
}

// The keyword in UTF-8, converted from the translator's own Shift-JIS.
std::string keyword_name(Keyword keyword);

// How the statement is usually written, in UTF-8: `見る("label",数a)`.
std::string usual_form(Keyword keyword, Language language);

// The usual form as a snippet (tab stops $1, $2, the body of a block at
// $0), and as plain text for a client without snippets.
std::string snippet_of(Keyword keyword);
std::string plain_insert_of(Keyword keyword);

// What the statement does, one sentence.
std::string statement_description(Keyword keyword, Language language);

// A stable name for each finding, for the diagnostic's code.
std::string_view problem_code(check::Problem problem);
inline constexpr std::string_view kNoShiftJisCode = "no-shift-jis";

// The diagnostic of a character with no Shift-JIS form; {} is the
// character and its code.
inline constexpr Text kNoShiftJisText = {
    "{} は Shift-JIS に無い文字なので、〓 として読みます。別の文字で書いて"
    "ください",
    "{} has no Shift-JIS form and is read as 〓; write it another way"};

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_WORDS_H_
