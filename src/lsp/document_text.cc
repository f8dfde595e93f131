#include "lsp/document_text.h"

#include <algorithm>

#include "text/encoding.h"

namespace zemuc::lsp {
namespace {

// Appends the start of every line that begins in text[from, to) after a
// line break, stopping before `stop_at`.
void scan_starts(std::string_view text, std::size_t from, std::size_t to,
                 std::size_t stop_at, std::vector<std::size_t>& out) {
  for (std::size_t i = from; i < to; ++i) {
    const char c = text[i];
    if (c != '\n' && c != '\r') continue;
    // A CR followed by LF is one break, ending after the LF.
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (i + 1 >= stop_at) return;
    out.push_back(i + 1);
  }
}

}  // namespace

std::size_t utf8_length(std::string_view text) {
  return character_length(text, Encoding::kUtf8);
}

std::size_t units_of(std::size_t length, PositionEncoding encoding) {
  if (encoding == PositionEncoding::kUtf8) return length;
  return length == 4 ? 2 : 1;
}

DocumentText::DocumentText(std::string text) : text_(std::move(text)) {
  starts_.push_back(0);
  scan_starts(text_, 0, text_.size(), text_.size() + 1, starts_);
}

std::size_t DocumentText::line_end(std::size_t line) const {
  std::size_t end =
      line + 1 < starts_.size() ? starts_[line + 1] : text_.size();
  if (end > starts_[line] && text_[end - 1] == '\n') --end;
  if (end > starts_[line] && text_[end - 1] == '\r') --end;
  // The last line has no break; the text may still end in a CR that a
  // coming LF would join, which counts as the break.
  return end;
}

std::size_t DocumentText::offset_of(Position position,
                                    PositionEncoding encoding) const {
  if (position.line >= starts_.size()) return text_.size();
  const std::size_t end = line_end(position.line);
  std::size_t offset = starts_[position.line];
  std::size_t units = 0;
  const std::string_view text = text_;
  while (offset < end) {
    const std::size_t length = utf8_length(text.substr(offset, end - offset));
    const std::size_t step = units_of(length, encoding);
    if (units + step > position.character) break;
    units += step;
    offset += length;
  }
  return offset;
}

std::size_t DocumentText::line_of(std::size_t offset) const {
  return static_cast<std::size_t>(
             std::upper_bound(starts_.begin(), starts_.end(), offset) -
             starts_.begin()) -
         1;
}

Position DocumentText::position_of(std::size_t offset,
                                   PositionEncoding encoding) const {
  PositionCursor cursor(*this, encoding);
  return cursor.position_of(offset);
}

void DocumentText::replace(std::size_t from, std::size_t to,
                           std::string_view with) {
  from = std::min(from, text_.size());
  to = std::clamp(to, from, text_.size());
  // Lines from the one before the change on are scanned again: a CR that
  // ended it may now stand before an LF. Lines that start beyond the
  // byte after the change keep their breaks, shifted.
  std::size_t first = line_of(from);
  if (first > 0) --first;
  const auto kept_after =
      std::upper_bound(starts_.begin(), starts_.end(), to + 1);
  std::vector<std::size_t> tail(kept_after, starts_.end());
  starts_.resize(first + 1);
  text_.replace(from, to - from, with);
  const std::ptrdiff_t delta = static_cast<std::ptrdiff_t>(with.size()) -
                               static_cast<std::ptrdiff_t>(to - from);
  for (std::size_t& start : tail) start += delta;
  const std::size_t stop = tail.empty() ? text_.size() + 1 : tail.front();
  scan_starts(text_, starts_[first], std::min(stop, text_.size()), stop,
              starts_);
  starts_.insert(starts_.end(), tail.begin(), tail.end());
}

Position PositionCursor::position_of(std::size_t offset) {
  offset = std::min(offset, text_.text().size());
  const std::size_t line = text_.line_of(offset);
  if (!valid_ || line != line_ || offset < offset_) {
    line_ = line;
    offset_ = text_.line_start(line);
    units_ = 0;
    valid_ = true;
  }
  const std::string_view text = text_.text();
  const std::size_t end = std::min(offset, text_.line_end(line));
  while (offset_ < end) {
    const std::size_t length = utf8_length(text.substr(offset_));
    if (offset_ + length > end) break;
    units_ += units_of(length, encoding_);
    offset_ += length;
  }
  return {line, units_};
}

}  // namespace zemuc::lsp
