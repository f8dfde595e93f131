// Each problem the check finds, in one row: its words for `zemuc check`,
// its code for editors, and, for a problem with the shape of the program,
// the error a failed build tells in its place and which of the compiler's
// messages only follow from it. Adding a problem is adding a row.
#ifndef ZEMUC_CHECK_PROBLEMS_H_
#define ZEMUC_CHECK_PROBLEMS_H_

#include <string_view>

#include "check/check.h"
#include "text/language.h"

namespace zemuc::check {

// Which of a compiler's messages only follow from a problem with the shape
// of the program: the compiler reading the translator's code where the
// shape put it. The frame (the code はじめ and おわり write) counts for
// every kind but kNothing.
enum class Follows {
  kNothing,      // no problem with the shape of the program
  kEverything,   // no line stands in main
  kEndOfInput,   // the frame, and the compiler finding the input ended
  kFromItsLine,  // the frame, and the learner's lines from the problem's on
  kBeforeBegin,  // the frame, and the learner's lines before the first はじめ
};

// What a failed build says of a problem with the shape of the program.
struct ShapeRule {
  Follows follows = Follows::kNothing;
  Text build;  // the error told in place of what follows from it, UTF-8
  bool whole_program = false;  // the error names no line
};

struct ProblemRow {
  Problem problem;
  std::string_view code;  // what editors show and filter by
  // What will happen and what to write instead. {subject} stands for the
  // finding's subject, {mend} for its mended form, {display}, {begin} ...
  // for the keywords; {{ and }} are braces.
  Text check;
  ShapeRule shape = {};

  bool about_shape() const { return shape.follows != Follows::kNothing; }
};

// The row of a problem.
const ProblemRow& problem_row(Problem problem);

}  // namespace zemuc::check

#endif  // ZEMUC_CHECK_PROBLEMS_H_
