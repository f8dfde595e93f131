#include "explain/shape.h"

#include <algorithm>
#include <string_view>

#include "check/problems.h"

namespace zemuc::explain {
namespace {

using check::Follows;

// What a compiler says where the program ends before a block does: gcc's
// "expected declaration or statement at end of input", clang's
// "expected '}'".
bool at_end_of_input(std::string_view text) {
  return text.find("end of input") != std::string_view::npos ||
         text.starts_with("expected '}'");
}

bool follows_from(const check::Finding& finding, const Told& told,
                  std::size_t first_begin) {
  const bool on_line = told.line != 0 && told.file.empty();
  switch (check::problem_row(finding.problem).shape.follows) {
    case Follows::kNothing:
      return false;
    case Follows::kEverything:
      return true;
    case Follows::kEndOfInput:
      return told.frame || at_end_of_input(told.words);
    case Follows::kFromItsLine:
      return told.frame || (on_line && told.line >= finding.line);
    case Follows::kBeforeBegin:
      return told.frame || (on_line && told.line < first_begin);
  }
  return false;
}

}  // namespace

Shape::Shape(const Program& program) {
  for (check::Finding& finding : check::check_source(program.sjis_source())) {
    if (check::problem_row(finding.problem).about_shape()) {
      findings_.push_back(std::move(finding));
    }
  }
  for (std::size_t n = 1; n <= program.line_count() && first_begin_ == 0; ++n) {
    if (program.line(n).keyword == Keyword::kBegin) first_begin_ = n;
  }
}

bool Shape::explains(const Told& told) const {
  return std::any_of(findings_.begin(), findings_.end(),
                     [&](const check::Finding& finding) {
                       return follows_from(finding, told, first_begin_);
                     });
}

std::vector<Told> Shape::errors(Language language) const {
  std::vector<Told> errors;
  for (const check::Finding& finding : findings_) {
    const check::ShapeRule& rule = check::problem_row(finding.problem).shape;
    Told told;
    told.line = rule.whole_program ? 0 : finding.line;
    told.found_line = finding.line;
    told.column = finding.column;
    told.plain = true;
    told.whole_program = rule.whole_program;
    told.text = fill(rule.build, language, {});
    errors.push_back(std::move(told));
  }
  return errors;
}

}  // namespace zemuc::explain
