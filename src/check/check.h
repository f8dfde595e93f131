// `zemuc check`: what the translator will do with a source that its writer
// did not mean. The translator accepts every line and never warns; this
// runs its own tokenizer, declaration scan and keyword scan over the source
// and names each place where the C text will not be what the line says.
#ifndef ZEMUC_CHECK_CHECK_H_
#define ZEMUC_CHECK_CHECK_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zemuc::check {

enum class Problem {
  // A keyword that is part of a longer token, so the line has no statement.
  kKeywordGlued,         // text right after it: 見る"x", 見る数a
  kKeywordSpaceRemoved,  // a blank removed before a non-delimiter: 見る "x"
  kKeywordAfterElse,     // joined to "else ": } else 見る("x")
  // A full-width space outside quotes: no blank to the translator, and
  // not C either.
  kWideSpace,
  // A keyword that stands in a comment is still a statement, and its C
  // text breaks out of the comment or leaves it open.
  kKeywordInComment,
  // A second keyword on a line: only the first one is translated.
  kSecondStatement,
  // Tokens before a keyword are copied into the C without renaming.
  kVariableBeforeKeyword,
  // The text before an open-for-reading or read statement is copied before
  // each line of the block it writes.
  kTextBeforeRepeated,
  // Display statements.
  kDisplayNoLabel,  // a variable without a text before it: 見る(数a)
  kDisplayNothing,  // 見る() and 見る; stop the translation
  // Everything after the first ';' outside quotes is dropped.
  kTextAfterSemicolon,
  kCommentCutBySemicolon,
  kSpacesInQuotes,
  kNameCut,         // a double-byte character whose second byte is a brace
  kOperatorInName,  // 数a!=0: the name is 数a!
  kNameAfterSign,   // !数a: no name at all, copied as it is
  // Files and variables named by statements.
  kFileNotOpened,      // 閉じる, 書く: nothing is written
  kReadFileNotOpened,  // 読む, 読みきり: the block is left half written
  kNotAVariable,       // 打つ, 書く, 読む, 読みきり
  kNoVariable,         // the same with no name at all
  kRepeatBoundExpression,
  kRepeatBoundMissing,
  kOpenModeOther,
  kOpenModeMissing,
  kFileOpenedTwice,
  kOpenPathNotYetSet,  // a path variable first mentioned on the 開く line
  // String variables in pass-through lines.
  kStringCompare,  // 字s==字t becomes a copy
  kStringCopyTab,  // 字s\t=\t"x" is no copy
  // The shape of the program.
  kUnclosedBrace,
  kStrayClosingBrace,
  kBeginMissing,
  kBeginRepeated,
  kEndMissing,
  kEndRepeated,
  kEndBeforeBegin,
  kCodeBeforeBegin,
  kCodeAfterEnd,
  kRepeatBeforeBegin,
};

struct Finding {
  std::size_t line;    // 1-based line number
  std::size_t column;  // 1-based, in characters of the line as read (a
                       // double-byte character counts 1, a tab counts 1)
  Problem problem;
  std::string subject;  // Shift-JIS bytes the message names (a token, a
                        // keyword, a file name); may be empty
  bool operator==(const Finding&) const = default;
};

// The findings of a whole source, in line and column order. Lines are split
// as the translator reads them: at line feeds, a carriage return before a
// line feed dropped.
std::vector<Finding> check_source(std::string_view sjis_source);

// The mend of a name after a sign, which keeps the sign and so what the
// line does: `sjis_token` with each variable name that follows a sign put
// in parentheses (!数a becomes !(数a), &数a &(数a), 0&&数a 0&&(数a)). A
// name ends at the next sign; quoted text is left as it is.
std::string names_in_parentheses(std::string_view sjis_token);

}  // namespace zemuc::check

#endif  // ZEMUC_CHECK_CHECK_H_
