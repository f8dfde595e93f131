#include "lsp/analysis.h"

#include <algorithm>
#include <utility>

#include "io/line_reader.h"
#include "lexer/raw_offsets.h"
#include "lexer/sjis_texts.h"
#include "lexer/tokenizer.h"
#include "lsp/document_text.h"
#include "symbols/declare.h"
#include "text/columns.h"

namespace zemuc::lsp {
namespace {

std::vector<std::size_t> starts_of_lines(std::string_view text,
                                         std::size_t from) {
  std::vector<std::size_t> starts{from};
  for (std::size_t i = text.find('\n', from); i != std::string_view::npos;
       i = text.find('\n', i + 1)) {
    if (i + 1 < text.size()) starts.push_back(i + 1);
  }
  return starts;
}

// Walks one line in both forms at once, character by character; offsets
// asked for must not go down.
class TwinWalker {
 public:
  TwinWalker(std::string_view sjis, std::string_view utf8)
      : sjis_(sjis), utf8_(utf8) {}
  std::size_t utf8_at(std::size_t sjis_offset) {
    while (s_ < sjis_.size() && u_ < utf8_.size()) {
      const std::size_t n = character_at(sjis_, s_);
      if (s_ + n > sjis_offset) break;
      s_ += n;
      u_ += utf8_length(utf8_.substr(u_));
    }
    return std::min(u_, utf8_.size());
  }
  std::size_t sjis_at(std::size_t utf8_offset) {
    while (s_ < sjis_.size() && u_ < utf8_.size()) {
      const std::size_t n = utf8_length(utf8_.substr(u_));
      if (u_ + n > utf8_offset) break;
      u_ += n;
      s_ += character_at(sjis_, s_);
    }
    return std::min(s_, sjis_.size());
  }

 private:
  std::string_view sjis_;
  std::string_view utf8_;
  std::size_t s_ = 0;
  std::size_t u_ = 0;
};

}  // namespace

Analysis::Analysis(std::string_view utf8, std::string source_name)
    : utf8_(utf8), source_name_(std::move(source_name)) {
  form_ = source_form(utf8_, sjis::kStandIn);
  read_lines(utf8_);
  if (!form_.converted) return;
  findings_ = check::check_source(form_.sjis);
  find_spots();
}

void Analysis::read_lines(std::string_view utf8) {
  utf8_starts_ = starts_of_lines(utf8, form_.skipped);
  sjis_starts_ = starts_of_lines(form_.sjis, 0);
  // The forms hold the same characters, so the same line feeds; should
  // they not, the lines are treated as empty rather than misplaced.
  sjis_starts_.resize(utf8_starts_.size(), form_.sjis.size());
}

std::string_view Analysis::sjis_line(std::size_t line) const {
  const std::size_t start = sjis_starts_[line - 1];
  const std::size_t end =
      line < sjis_starts_.size() ? sjis_starts_[line] : form_.sjis.size();
  return std::string_view(form_.sjis).substr(start, end - start);
}

std::string_view Analysis::utf8_line(std::size_t line) const {
  const std::size_t start = utf8_starts_[line - 1];
  const std::size_t end =
      line < utf8_starts_.size() ? utf8_starts_[line] : utf8_.size();
  return std::string_view(utf8_).substr(start, end - start);
}

std::size_t Analysis::utf8_offset(std::size_t line,
                                  std::size_t sjis_offset) const {
  TwinWalker walker(sjis_line(line), utf8_line(line));
  return line_offset(line) + walker.utf8_at(sjis_offset);
}

std::size_t Analysis::sjis_offset(std::size_t line,
                                  std::size_t utf8_offset) const {
  const std::size_t start = line_offset(line);
  TwinWalker walker(sjis_line(line), utf8_line(line));
  return walker.sjis_at(utf8_offset < start ? 0 : utf8_offset - start);
}

std::size_t Analysis::line_at(std::size_t offset) const {
  return static_cast<std::size_t>(
      std::upper_bound(utf8_starts_.begin(), utf8_starts_.end(), offset) -
      utf8_starts_.begin());
}

Span Analysis::span_of(const check::Finding& finding) const {
  return span_at(finding.line, finding.column, finding.subject);
}

Span Analysis::span_at(std::size_t line, std::size_t column,
                       std::string_view subject) const {
  line = std::clamp<std::size_t>(line, 1, line_count());
  const std::string_view text = sjis_line(line);
  std::size_t start = offset_of_column(text, std::max<std::size_t>(column, 1));
  std::size_t end = start;
  if (!subject.empty() && text.substr(start).starts_with(subject)) {
    end = start + subject.size();
  } else if (start < text.size() && text[start] != '\n' &&
             text[start] != '\r') {
    end = start + character_at(text, start);
  }
  const std::size_t from = utf8_offset(line, start);
  return {from, utf8_offset(line, end) - from};
}

void Analysis::find_spots() {
  // The declaration pass over every line first, as the translator runs it,
  // so that a file closed before the line that opens it is still known.
  TokenLine tokens;
  for_each_line(form_.sjis, [&](std::size_t, std::string_view raw) {
    tokens.text.assign(raw);
    tokenize_line(tokens);
    declare_line(tables_, tokens);
  });
  first_variable_spot_.assign(tables_.variables.count() + 1, 0);
  first_file_spot_.assign(tables_.files.count() + 1, 0);
  for_each_line(form_.sjis, [&](std::size_t number, std::string_view raw) {
    if (number > line_count()) return;
    tokens.text.assign(raw);
    tokenize_line(tokens);
    const KeywordHit hit = find_keyword(tokens);
    const std::vector<std::size_t> raw_of = squeezed_to_raw(raw);
    const std::size_t start = utf8_starts_[number - 1];
    const std::size_t end =
        number < utf8_starts_.size() ? utf8_starts_[number] : utf8_.size();
    TwinWalker walker(sjis_line(number),
                      std::string_view(utf8_).substr(start, end - start));
    for (std::size_t k = 1; k <= tokens.count; ++k) {
      const std::string_view token = tokens.tokens[k];
      if (token.empty()) continue;
      Spot spot{{}, Spot::Kind::kVariable, 0, number};
      if (const std::size_t v = find_variable(tables_, token); v != 0) {
        spot.index = v;
      } else if (const std::size_t f = find_file(tables_, token); f != 0) {
        spot.kind = Spot::Kind::kFile;
        spot.index = f;
      } else if (const Keyword keyword = keyword_of(token);
                 keyword != Keyword::kNone) {
        spot.kind = Spot::Kind::kKeyword;
        spot.index = static_cast<std::size_t>(keyword);
        spot.statement = k == hit.position;
      } else {
        continue;
      }
      // A token is never cut by squeezing: names hold no blanks.
      const std::size_t at = token.data() - tokens.text.data();
      const std::size_t raw_from = raw_of[at];
      const std::size_t raw_to = raw_of[at + token.size() - 1] + 1;
      const std::size_t from = walker.utf8_at(raw_from);
      spot.span = {start + from, walker.utf8_at(raw_to) - from};
      std::vector<std::size_t>& firsts = spot.kind == Spot::Kind::kFile
                                             ? first_file_spot_
                                             : first_variable_spot_;
      if (spot.kind != Spot::Kind::kKeyword && firsts[spot.index] == 0) {
        firsts[spot.index] = spots_.size() + 1;
      }
      spots_.push_back(spot);
    }
  });
}

const Spot* Analysis::spot_at(std::size_t offset) const {
  auto after = std::upper_bound(
      spots_.begin(), spots_.end(), offset,
      [](std::size_t at, const Spot& spot) { return at < spot.span.offset; });
  if (after == spots_.begin()) return nullptr;
  const Spot& spot = *(after - 1);
  return offset <= spot.span.end() ? &spot : nullptr;
}

const Spot* Analysis::first_spot(Spot::Kind kind, std::size_t index) const {
  const std::vector<std::size_t>& firsts =
      kind == Spot::Kind::kFile ? first_file_spot_ : first_variable_spot_;
  if (kind == Spot::Kind::kKeyword || index >= firsts.size() ||
      firsts[index] == 0) {
    return nullptr;
  }
  return &spots_[firsts[index] - 1];
}

const Translation& Analysis::translation() const {
  if (!translation_) {
    translation_ = translate_in_memory(source_name_, form_.sjis);
  }
  return *translation_;
}

}  // namespace zemuc::lsp
