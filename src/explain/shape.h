// The shape of the program as the check finds it wrong (braces that do not
// pair, はじめ and おわり missing, twice or out of order, lines outside
// them), and which of a compiler's messages only follow from it.
#ifndef ZEMUC_EXPLAIN_SHAPE_H_
#define ZEMUC_EXPLAIN_SHAPE_H_

#include <cstddef>
#include <vector>

#include "check/check.h"
#include "explain/told.h"
#include "program/program.h"
#include "text/language.h"

namespace zemuc::explain {

class Shape {
 public:
  explicit Shape(const Program& program);

  // Whether the message only follows from what the check found: the
  // compiler reading the translator's code where the shape put it.
  bool explains(const Told& told) const;

  // One error for each thing found, in the check's order.
  std::vector<Told> errors(Language language) const;

 private:
  std::vector<check::Finding> findings_;
  std::size_t first_begin_ = 0;  // the line of the first はじめ, or 0
};

}  // namespace zemuc::explain

#endif  // ZEMUC_EXPLAIN_SHAPE_H_
