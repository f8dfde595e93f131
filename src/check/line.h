// One line of the checking pass as the rules see it, and where they put
// what they find.
#ifndef ZEMUC_CHECK_LINE_H_
#define ZEMUC_CHECK_LINE_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "check/c_regions.h"
#include "check/check.h"
#include "lexer/keywords.h"
#include "lexer/token_line.h"
#include "symbols/tables.h"

namespace zemuc::check {

struct CheckedLine {
  std::size_t number = 0;
  std::string_view raw;  // as read, with its line feed
  const TokenLine* tokens = nullptr;
  const SymbolTables* tables = nullptr;
  KeywordHit hit;                   // the statement the translator finds
  std::vector<std::size_t> raw_of;  // squeezed offset -> raw offset
  std::vector<Region> regions;      // of the squeezed text

  const TokenLine& line() const { return *tokens; }
  // Where token k starts in the squeezed text; k must be 1..count.
  std::size_t offset(std::size_t k) const {
    return tokens->tokens[k].data() - tokens->text.data();
  }
  std::size_t raw_offset(std::size_t k) const { return raw_of[offset(k)]; }
  // Whether token k is C code, not inside a comment or a literal. A token
  // is judged by its first byte; an empty one by the delimiter after it.
  Region region(std::size_t k) const { return regions[offset(k)]; }
  bool in_comment(std::size_t k) const { return is_comment(region(k)); }
  bool has_statement() const { return hit.keyword != Keyword::kNone; }
  // Whether the line's statement keyword is read as C code; a keyword in a
  // comment has C text that the comment mostly hides.
  bool statement_in_code() const {
    return has_statement() && region(hit.position) == Region::kCode;
  }
  bool is_variable(std::string_view token) const {
    return find_variable(*tables, token) != 0;
  }
};

// The findings of one line, placed by byte offset in the line as read.
// A line keeps its first few findings only, and the one that stops the
// translation: a line of ten megabytes of mistakes is not a reason to
// print millions of them.
class LineFindings {
 public:
  static constexpr std::size_t kMostPerLine = 16;

  struct Spot {
    std::size_t raw_offset;
    Problem problem;
    std::string subject;
  };

  void add(std::size_t raw_offset, Problem problem, std::string_view subject);
  // Sorted by offset, earlier additions first among equals.
  std::vector<Spot> take();

 private:
  std::vector<Spot> spots_;
};

}  // namespace zemuc::check

#endif  // ZEMUC_CHECK_LINE_H_
