// What the rows of the wordings share, the rows that read the C of the
// line to name both sides of a copy (explain/wording_copies.cc), and those
// of C's own grammar (explain/wording_syntax.cc).
#ifndef ZEMUC_EXPLAIN_WORDING_ROWS_H_
#define ZEMUC_EXPLAIN_WORDING_ROWS_H_

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "explain/told.h"
#include "explain/wording.h"
#include "text/language.h"

namespace zemuc::explain {

// Says the message in `text`, a sentence of its own.
void name(const Reading& reading, Told& told, const Text& text,
          std::initializer_list<NamedArg> args);

// Puts the caret under `utf8_word` where the line holds it, as a word
// of its own or, with `whole` false, anywhere.
void point_at(const Reading& reading, Told& told, std::string_view utf8_word,
              bool whole = true);

std::string utf8(std::string_view sjis);
// The name between the first pair of quotes of `text`, single or double.
std::string quoted(std::string_view text);

// A number where a text is needed: gcc's "makes pointer from integer",
// clang's "incompatible integer to pointer".
void number_into_text(const Reading& reading, Told& told);
// A text where a number is needed: the other way round.
void text_into_number(const Reading& reading, Told& told);
// A copy longer than where it goes.
void writes_past(const Reading& reading, Told& told);

// A value used before it gets a value (explain/wording_values.cc): as
// gcc and clang warn of it, or its optimiser ("may").
void used_before_value(const Reading& reading, Told& told);
void may_be_used_before_value(const Reading& reading, Told& told);
// The browser's clang's loop warning, told only for a use inside a loop.
void used_in_loop(const Reading& reading, Told& told);
// The variable clang's analyser names "declared without an initial value"
// in a note; empty for none.
std::string declared_without_value(const CompilerMessage& message);
void garbage_value(const Reading& reading, Told& told);

// C's own grammar (explain/wording_syntax.cc). The learner's line before
// `line` that is neither blank nor the frame's; 0 for none.
std::size_t line_before(const Program& program, std::size_t line);
// Whether the message's line
// is an else, after any } that closes the block before it.
bool else_line(const Reading& reading);
// A sign the compiler expected: "expected ')' before '{' token", clang's
// "expected ')'".
void missing_sign(const Reading& reading, Told& told);
// A value the compiler expected: "expected expression".
void missing_value(const Reading& reading, Told& told);
// tcc's "identifier expected", which may stand a line late.
void value_missing_late(const Reading& reading, Told& told);
void else_without_if(const Reading& reading, Told& told);
// Whether `line` stands inside a loop's block, or opens one.
bool inside_loop(const Program& program, std::size_t line);
// "'X' without a previous 'Y'".
void without_before(const Reading& reading, Told& told);

}  // namespace zemuc::explain

#endif  // ZEMUC_EXPLAIN_WORDING_ROWS_H_
