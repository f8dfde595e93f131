// The compilers' wordings that a plain sentence of the learner's own says
// better, one row each (gcc's and clang's words for the same mistake in
// one row): its pattern, its sentence, and what it needs from the line.
// Adding a wording is adding a row.
#ifndef ZEMUC_EXPLAIN_WORDING_H_
#define ZEMUC_EXPLAIN_WORDING_H_

#include "explain/compiler_output.h"
#include "explain/place.h"
#include "explain/told.h"
#include "program/program.h"
#include "text/language.h"

namespace zemuc::explain {

// What a row may read: the message, the program, and the message's place
// on a learner's line (null when it names none).
struct Reading {
  const Program& program;
  Language language;
  const CompilerMessage& message;
  const SourcePlace* place;
};

// Says the message in the sentence of the first row that fits it (which
// may leave it in the compiler's words when the line does not hold what
// the sentence needs); leaves it as it is when no row fits.
void phrase(const Reading& reading, Told& told);

}  // namespace zemuc::explain

#endif  // ZEMUC_EXPLAIN_WORDING_H_
