// The rules that look at one line of the checking pass. Each adds what it
// finds to the line's findings; none changes the line or the tables.
#ifndef ZEMUC_CHECK_RULES_H_
#define ZEMUC_CHECK_RULES_H_

#include <cstddef>
#include <string>
#include <unordered_set>

#include "check/line.h"

namespace zemuc::check {

// Keywords that the keyword scan does not find (joined to other text) or
// finds where the writer did not mean a statement (in a comment, second on
// a line).
void check_keyword_tokens(const CheckedLine& line, LineFindings& out);

// The operands of the line's statement, as its generator reads them.
// `open_entry` is the file table entry that the declaration pass made for
// the line's file-opening keyword (0 when the statement is another one).
void check_statement(const CheckedLine& line, std::size_t open_entry,
                     LineFindings& out);

// What the end of the line at ';' and squeezing do to its text: text
// dropped, a comment cut, spaces in quotes, full-width spaces.
void check_line_text(const CheckedLine& line, LineFindings& out);

// Names cut by a trail byte or holding signs, and string variables that do
// not copy. `reported_names` holds the tokens already named for a sign, so
// that each is named once in a program.
void check_names(const CheckedLine& line,
                 std::unordered_set<std::string>& reported_names,
                 LineFindings& out);

}  // namespace zemuc::check

#endif  // ZEMUC_CHECK_RULES_H_
