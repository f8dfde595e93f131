// One version of a document as the translator reads it: its Shift-JIS
// form, the check's findings, the names and keywords of every line, and,
// when asked, its translation. Places are byte offsets of the UTF-8 text.
#ifndef ZEMUC_LSP_ANALYSIS_H_
#define ZEMUC_LSP_ANALYSIS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "driver/memory_translation.h"
#include "lexer/keywords.h"
#include "symbols/tables.h"
#include "text/source_text.h"

namespace zemuc::lsp {

// A place in the UTF-8 text.
struct Span {
  std::size_t offset = 0;
  std::size_t length = 0;
  std::size_t end() const { return offset + length; }
};

// A token that names a variable or a file, or is a statement keyword.
struct Spot {
  enum class Kind { kVariable, kFile, kKeyword };
  Span span;
  Kind kind;
  std::size_t index;       // the table position; for a keyword, its Keyword
  std::size_t line;        // 1-based
  bool statement = false;  // a keyword that is its line's statement
};

class Analysis {
 public:
  // `source_name` is the name the translation is made under.
  Analysis(std::string_view utf8, std::string source_name);

  bool converted() const { return form_.converted; }
  const std::vector<Unconvertible>& unconvertible() const {
    return form_.unconvertible;
  }
  const std::vector<check::Finding>& findings() const { return findings_; }
  // Where a finding stands: the subject it names when the line holds it
  // there as written, else the one character at its column.
  Span span_of(const check::Finding& finding) const;
  // The same for a line and column (in characters, from 1) as messages
  // give them: `subject` where the line holds it there, else one
  // character; a line past the last is the last.
  Span span_at(std::size_t line, std::size_t column,
               std::string_view subject = {}) const;

  const SymbolTables& tables() const { return tables_; }
  // Every spot, in the order of the text.
  const std::vector<Spot>& spots() const { return spots_; }
  // The spot whose token holds byte `offset`, or a token that ends right
  // there (a cursor just after a word); nothing elsewhere.
  const Spot* spot_at(std::size_t offset) const;
  // The first spot of a variable or file: where it is declared.
  const Spot* first_spot(Spot::Kind kind, std::size_t index) const;

  // Lines as the translator splits them (at line feeds), from 1.
  std::size_t line_count() const { return utf8_starts_.size(); }
  std::size_t line_at(std::size_t offset) const;
  std::size_t line_offset(std::size_t line) const {
    return utf8_starts_[line - 1];
  }
  // The Shift-JIS line as read, with its line feed if it has one.
  std::string_view sjis_line(std::size_t line) const;
  // The same line in the editor's UTF-8.
  std::string_view utf8_line(std::size_t line) const;
  // Offsets within line `line` between the two forms.
  std::size_t utf8_offset(std::size_t line, std::size_t sjis_offset) const;
  std::size_t sjis_offset(std::size_t line, std::size_t utf8_offset) const;

  // The Shift-JIS form of the whole text, and the name it translates under.
  const std::string& sjis() const { return form_.sjis; }
  const std::string& source_name() const { return source_name_; }

  // The translation, made on the first call.
  const Translation& translation() const;

 private:
  void read_lines(std::string_view utf8);
  void find_spots();

  std::string utf8_;
  std::string source_name_;
  SourceForm form_;
  std::vector<std::size_t> utf8_starts_;  // translator lines in the UTF-8 text
  std::vector<std::size_t> sjis_starts_;  // and in form_.sjis
  std::vector<check::Finding> findings_;
  SymbolTables tables_;
  std::vector<Spot> spots_;
  std::vector<std::size_t> first_variable_spot_;  // by table position
  std::vector<std::size_t> first_file_spot_;
  mutable std::optional<Translation> translation_;
};

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_ANALYSIS_H_
