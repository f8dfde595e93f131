// The shape of the whole program: the frame lines in their order, code
// outside them, and braces that open and close blocks.
#ifndef ZEMUC_CHECK_STRUCTURE_H_
#define ZEMUC_CHECK_STRUCTURE_H_

#include <cstddef>
#include <vector>

#include "check/line.h"

namespace zemuc::check {

class StructureTracker {
 public:
  // Follows one line of the checking pass, in source order. Findings on
  // the line go to `out`; braces left open when the program ends go to
  // `program`, with their own lines.
  void follow(const CheckedLine& line, LineFindings& out,
              std::vector<Finding>& program);
  // At the end of the source.
  void finish(std::vector<Finding>& program);

 private:
  enum class Phase { kBeforeBegin, kInside, kAfterEnd };
  struct OpenBrace {
    std::size_t line;
    std::size_t column;
  };

  void follow_frame(const CheckedLine& line, LineFindings& out,
                    std::vector<Finding>& program);
  void follow_code(const CheckedLine& line, std::vector<Finding>& program);
  void follow_braces(const CheckedLine& line, LineFindings& out);
  void open_brace(std::size_t line, std::size_t column);
  void close_brace();
  void report_open_braces(std::vector<Finding>& program);

  Phase phase_ = Phase::kBeforeBegin;
  bool begin_seen_ = false;
  bool reported_before_begin_ = false;
  bool reported_after_end_ = false;
  std::size_t last_line_with_text_ = 0;
  std::size_t depth_ = 0;               // blocks open
  std::vector<OpenBrace> open_braces_;  // the outermost of them
  // Findings about code before はじめ, which hold only once there is one.
  std::vector<Finding> before_begin_;
};

}  // namespace zemuc::check

#endif  // ZEMUC_CHECK_STRUCTURE_H_
