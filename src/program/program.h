// One translated program as the compile step sees it: the learner's lines
// as read, and the translation's C text, tables and line starts.
#ifndef ZEMUC_PROGRAM_H_
#define ZEMUC_PROGRAM_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "driver/memory_translation.h"
#include "lexer/keywords.h"

namespace zemuc {

// One line of the source, Shift-JIS.
struct SourceLine {
  std::string raw;       // as the translator read it, without its line end
  std::string squeezed;  // what the tokenizer made of it: its tokens and
                         // their delimiters, blanks removed
  // For each byte of `squeezed`, its offset in `raw`.
  std::vector<std::size_t> raw_offsets;
  Keyword keyword = Keyword::kNone;
  std::size_t keyword_offset = 0;  // in `squeezed`, when there is a keyword
  // The lines of はじめ and おわり write the frame of the program: its
  // includes, declarations and ending, which no learner wrote.
  bool frame() const {
    return keyword == Keyword::kBegin || keyword == Keyword::kEnd;
  }
};

class Program {
 public:
  // `source_name` as the learner gave it; `sjis_source` as translated.
  Program(std::string source_name, std::string_view sjis_source,
          Translation translation);

  const std::string& source_name() const { return source_name_; }
  const std::string& sjis_source() const { return sjis_source_; }
  const Translation& translation() const { return translation_; }
  const std::string& c_text() const { return translation_.c_text; }
  const SymbolTables& tables() const { return translation_.tables; }

  // The lines that have C text: 1 up to line_count().
  std::size_t line_count() const;
  // Line n of the source; an empty line past the end.
  const SourceLine& line(std::size_t n) const;
  // Where the C text of line n begins and ends in c_text().
  std::size_t c_begin(std::size_t n) const;
  std::size_t c_end(std::size_t n) const;
  // The line whose C text holds the byte at `offset` of c_text(); an
  // offset at the very end belongs to the last line. 0 when there is none.
  std::size_t line_at(std::size_t offset) const;
  // The line of the くり返し whose loop counter is the n-th, or 0.
  std::size_t counter_line(std::size_t n) const;

 private:
  std::string source_name_;
  std::string sjis_source_;
  Translation translation_;
  std::vector<SourceLine> lines_;  // lines_[0] unused, and empty
  std::vector<std::size_t> counter_lines_;
};

}  // namespace zemuc

#endif  // ZEMUC_PROGRAM_H_
