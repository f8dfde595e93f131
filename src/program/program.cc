#include "program/program.h"

#include <algorithm>

#include "io/line_reader.h"
#include "lexer/raw_offsets.h"
#include "lexer/tokenizer.h"

namespace zemuc {
namespace {

SourceLine read_line(std::string_view with_line_feed, TokenLine& tokens) {
  SourceLine line;
  line.raw = with_line_feed.substr(0, with_line_feed.size() - 1);
  tokens.text.assign(with_line_feed);
  tokenize_line(tokens);
  // The tokens with their delimiters, the last one (a ';' or the line
  // feed) included: what the generators write from.
  const std::string_view all = tokens.before(tokens.count + 1);
  line.squeezed.assign(all);
  line.raw_offsets = squeezed_to_raw(with_line_feed);
  line.raw_offsets.resize(line.squeezed.size(), line.raw.size());
  const KeywordHit hit = find_keyword(tokens);
  line.keyword = hit.keyword;
  if (hit.keyword != Keyword::kNone) {
    line.keyword_offset = static_cast<std::size_t>(
        tokens.tokens[hit.position].data() - tokens.text.data());
  }
  return line;
}

// The n of "for(repN" at the start of a くり返し line's statement.
std::size_t counter_in(std::string_view c_text) {
  constexpr std::string_view kLoop = "for(rep";
  const std::size_t at = c_text.find(kLoop);
  if (at == std::string_view::npos) return 0;
  std::size_t n = 0;
  for (std::size_t i = at + kLoop.size();
       i < c_text.size() && c_text[i] >= '0' && c_text[i] <= '9'; ++i) {
    n = n * 10 + static_cast<std::size_t>(c_text[i] - '0');
  }
  return n;
}

}  // namespace

Program::Program(std::string source_name, std::string_view sjis_source,
                 Translation translation)
    : source_name_(std::move(source_name)),
      sjis_source_(sjis_source),
      translation_(std::move(translation)),
      lines_(1) {
  MemorySource bytes(sjis_source_);
  LineReader reader(bytes);
  TokenLine tokens;
  std::string_view text;
  while (reader.next(text) == LineReader::Result::kLine) {
    lines_.push_back(read_line(text, tokens));
  }
  // Each くり返し takes the next counter in the order the generation pass
  // meets them, and はじめ starts the count again: the C text of the
  // line names it.
  for (std::size_t n = 1; n <= line_count(); ++n) {
    if (line(n).keyword != Keyword::kRepeat) continue;
    const std::size_t counter = counter_in(translation_.c_text_of(n));
    if (counter == 0) continue;
    if (counter_lines_.size() <= counter) counter_lines_.resize(counter + 1);
    counter_lines_[counter] = n;
  }
}

std::size_t Program::line_count() const {
  const std::size_t starts = translation_.line_starts.size();
  return starts >= 2 ? starts - 2 : 0;
}

const SourceLine& Program::line(std::size_t n) const {
  return n < lines_.size() ? lines_[n] : lines_[0];
}

std::size_t Program::c_begin(std::size_t n) const {
  return translation_.line_starts[std::min(n, line_count() + 1)];
}

std::size_t Program::c_end(std::size_t n) const { return c_begin(n + 1); }

std::size_t Program::line_at(std::size_t offset) const {
  if (line_count() == 0) return 0;
  const std::vector<std::size_t>& starts = translation_.line_starts;
  // The last line that begins at or before the offset and is not empty.
  const auto after =
      std::upper_bound(starts.begin() + 1, starts.end() - 1, offset);
  std::size_t n = static_cast<std::size_t>(after - starts.begin()) - 1;
  while (n > 1 && c_begin(n) == c_end(n)) --n;
  return std::max<std::size_t>(n, 1);
}

std::size_t Program::counter_line(std::size_t n) const {
  return n < counter_lines_.size() ? counter_lines_[n] : 0;
}

}  // namespace zemuc
