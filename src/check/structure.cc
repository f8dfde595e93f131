#include "check/structure.h"

#include <algorithm>

#include "lexer/sjis_texts.h"
#include "text/columns.h"

namespace zemuc::check {
namespace {

bool is_blank(char c) {
  return std::string_view(" \t\r\n\f;").find(c) != std::string_view::npos;
}

// The first byte of C code in the line's text that is not a blank, or npos.
std::size_t first_code(const CheckedLine& line) {
  const std::string_view text = line.line().text;
  for (std::size_t i = 0; i < text.size(); i += character_at(text, i)) {
    if (line.regions[i] == Region::kCode && !is_blank(text[i]) &&
        !text.substr(i).starts_with(sjis::kWideSpace)) {
      return i;
    }
  }
  return std::string_view::npos;
}

bool has_text(std::string_view raw) {
  return std::any_of(raw.begin(), raw.end(),
                     [](char c) { return !is_blank(c); });
}

}  // namespace

void StructureTracker::follow(const CheckedLine& line, LineFindings& out,
                              std::vector<Finding>& program) {
  if (has_text(line.raw)) last_line_with_text_ = line.number;
  const Keyword keyword = line.hit.keyword;
  // The frame lines write their fixed text and drop every other token.
  if (keyword == Keyword::kBegin || keyword == Keyword::kEnd) {
    follow_frame(line, out, program);
    return;
  }
  follow_code(line, program);
  follow_braces(line, out);
}

void StructureTracker::follow_frame(const CheckedLine& line, LineFindings& out,
                                    std::vector<Finding>& program) {
  const std::size_t at = line.raw_offset(line.hit.position);
  if (line.hit.keyword == Keyword::kBegin) {
    if (phase_ != Phase::kBeforeBegin) {
      out.add(at, Problem::kBeginRepeated, sjis::kBegin);
      return;
    }
    phase_ = Phase::kInside;
    begin_seen_ = true;
    // What stood before the first はじめ counts only now that there is one.
    program.insert(program.end(), before_begin_.begin(), before_begin_.end());
    before_begin_.clear();
    return;
  }
  switch (phase_) {
    case Phase::kBeforeBegin:
      out.add(at, Problem::kEndBeforeBegin, sjis::kEnd);
      break;
    case Phase::kInside:
      // The tail closes main: blocks still open end up holding it.
      report_open_braces(program);
      phase_ = Phase::kAfterEnd;
      break;
    case Phase::kAfterEnd:
      out.add(at, Problem::kEndRepeated, sjis::kEnd);
      break;
  }
}

// C text outside main. A preprocessor line is fine there.
void StructureTracker::follow_code(const CheckedLine& line,
                                   std::vector<Finding>& program) {
  if (phase_ == Phase::kInside) return;
  const std::size_t at = first_code(line);
  if (at == std::string_view::npos || line.line().text[at] == '#') return;
  const bool repeat =
      line.hit.keyword == Keyword::kRepeat && line.statement_in_code();
  if (phase_ == Phase::kAfterEnd) {
    if (reported_after_end_) return;
    reported_after_end_ = true;
    program.push_back({line.number,
                       ColumnWalker(line.raw).column_at(line.raw_of[at]),
                       Problem::kCodeAfterEnd, ""});
    return;
  }
  // A loop before the program head takes a counter that was never
  // declared, each one of them.
  if (repeat) {
    const std::size_t column =
        ColumnWalker(line.raw).column_at(line.raw_offset(line.hit.position));
    before_begin_.push_back({line.number, column, Problem::kRepeatBeforeBegin,
                             std::string(sjis::kRepeat)});
  } else if (!reported_before_begin_) {
    before_begin_.push_back({line.number,
                             ColumnWalker(line.raw).column_at(line.raw_of[at]),
                             Problem::kCodeBeforeBegin, ""});
  }
  reported_before_begin_ = true;
}

// Braces that reach the C: all of a pass-through line's, those of the text
// before a keyword, and the opening one that a loop statement writes. The
// brace a loop line has of its own is dropped with the rest of its line.
void StructureTracker::follow_braces(const CheckedLine& line,
                                     LineFindings& out) {
  const std::string_view text = line.line().text;
  const bool statement = line.has_statement();
  const std::size_t end =
      statement ? line.offset(line.hit.position) : text.size();
  ColumnWalker columns(line.raw);
  bool stray = false;
  for (std::size_t i = 0; i < end;) {
    const std::size_t n = character_at(text, i);
    if (n == 1 && line.regions[i] == Region::kCode) {
      if (text[i] == '{') {
        open_brace(line.number, columns.column_at(line.raw_of[i]));
      } else if (text[i] == '}' && depth_ == 0) {
        if (!stray) out.add(line.raw_of[i], Problem::kStrayClosingBrace, "");
        stray = true;  // one is enough for a line
      } else if (text[i] == '}') {
        close_brace();
      }
    }
    i += n;
  }
  const Keyword keyword = line.hit.keyword;
  if (line.statement_in_code() &&
      (keyword == Keyword::kRepeat || keyword == Keyword::kReadAll)) {
    open_brace(line.number,
               columns.column_at(line.raw_offset(line.hit.position)));
  }
}

// Only the outermost open braces are ever reported, so only their places
// are kept; deeper ones are counted.
void StructureTracker::open_brace(std::size_t line, std::size_t column) {
  if (depth_ < LineFindings::kMostPerLine)
    open_braces_.push_back({line, column});
  ++depth_;
}

void StructureTracker::close_brace() {
  --depth_;
  if (depth_ < open_braces_.size()) open_braces_.pop_back();
}

void StructureTracker::report_open_braces(std::vector<Finding>& program) {
  for (const OpenBrace& brace : open_braces_) {
    program.push_back({brace.line, brace.column, Problem::kUnclosedBrace, ""});
  }
  open_braces_.clear();
  depth_ = 0;
}

void StructureTracker::finish(std::vector<Finding>& program) {
  // An empty source too: it builds no more than one without the line.
  if (!begin_seen_) {
    program.push_back(
        {1, 1, Problem::kBeginMissing, std::string(sjis::kBegin)});
  } else if (phase_ == Phase::kInside) {
    program.push_back({last_line_with_text_, 1, Problem::kEndMissing,
                       std::string(sjis::kEnd)});
  }
  report_open_braces(program);
}

}  // namespace zemuc::check
