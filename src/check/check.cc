#include "check/check.h"

#include <algorithm>
#include <unordered_set>

#include "check/rules.h"
#include "check/structure.h"
#include "io/line_reader.h"
#include "lexer/raw_offsets.h"
#include "lexer/sjis_texts.h"
#include "lexer/tokenizer.h"
#include "symbols/declare.h"
#include "text/columns.h"

namespace zemuc::check {
namespace {

// The checking pass: the line tokenized again, as the generation pass
// tokenizes it, and every rule over it.
class Checker {
 public:
  explicit Checker(const SymbolTables& tables) : tables_(tables) {
    line_.tokens = &tokens_;
    line_.tables = &tables_;
  }

  void check(std::string_view raw) {
    tokens_.text.assign(raw);
    tokenize_line(tokens_);
    line_.number += 1;
    line_.raw = raw;
    line_.hit = find_keyword(tokens_);
    line_.raw_of = squeezed_to_raw(raw);
    const bool open_at_end =
        mark_regions(tokens_.text, in_block_comment_, line_.regions);
    check_keyword_tokens(line_, spots_);
    check_statement(line_, open_entry(), spots_);
    check_line_text(line_, spots_);
    check_names(line_, reported_names_, spots_);
    structure_.follow(line_, spots_, findings_);
    place_spots();
    in_block_comment_ = comment_open_after(open_at_end);
  }

  std::vector<Finding> finish() {
    structure_.finish(findings_);
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) {
                       return a.line != b.line ? a.line < b.line
                                               : a.column < b.column;
                     });
    return std::move(findings_);
  }

 private:
  // The file table entry of the line's file-opening statement: the
  // declaration pass made one entry per 開く token, in source order.
  std::size_t open_entry() {
    std::size_t entry = 0;
    for (std::size_t k = 1; k <= tokens_.count; ++k) {
      if (tokens_.tokens[k] != sjis::kOpen) continue;
      ++opens_seen_;
      if (line_.hit.keyword == Keyword::kOpen && k == line_.hit.position) {
        entry = opens_seen_;
      }
    }
    return entry;
  }

  // Whether the C text of the line leaves a block comment open. A
  // statement's own text holds no comment, so after a keyword only the text
  // before it counts; the program tail ends with a comment of its own,
  // which closes any comment left open.
  bool comment_open_after(bool open_at_end_of_text) {
    switch (line_.hit.keyword) {
      case Keyword::kNone:
        return open_at_end_of_text;
      case Keyword::kBegin:
        return in_block_comment_;
      case Keyword::kEnd:
        return false;
      default:
        return mark_regions(tokens_.before(line_.hit.position),
                            in_block_comment_, scratch_);
    }
  }

  void place_spots() {
    ColumnWalker columns(line_.raw);
    for (LineFindings::Spot& spot : spots_.take()) {
      findings_.push_back({line_.number, columns.column_at(spot.raw_offset),
                           spot.problem, std::move(spot.subject)});
    }
  }

  const SymbolTables& tables_;
  TokenLine tokens_;
  CheckedLine line_;
  LineFindings spots_;
  StructureTracker structure_;
  std::unordered_set<std::string> reported_names_;
  std::size_t opens_seen_ = 0;
  bool in_block_comment_ = false;
  std::vector<Region> scratch_;
  std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> check_source(std::string_view sjis_source) {
  // The declaration pass first, over every line, as the translator runs it.
  SymbolTables tables;
  TokenLine tokens;
  for_each_line(sjis_source, [&](std::size_t, std::string_view raw) {
    tokens.text.assign(raw);
    tokenize_line(tokens);
    declare_line(tables, tokens);
  });
  Checker checker(tables);
  for_each_line(sjis_source,
                [&](std::size_t, std::string_view raw) { checker.check(raw); });
  return checker.finish();
}

}  // namespace zemuc::check
