#include "io/line_reader.h"

#include <algorithm>
#include <cstring>

namespace zemuc {

std::ptrdiff_t MemorySource::read(char* buffer, std::size_t size) {
  const std::size_t n = std::min(size, rest_.size());
  rest_.copy(buffer, n);
  rest_.remove_prefix(n);
  return static_cast<std::ptrdiff_t>(n);
}

LineReader::LineReader(ByteSource& source)
    : source_(source),
      buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

bool LineReader::fill() {
  if (error_) return false;
  const std::ptrdiff_t n = source_.read(buffer_.get(), kBufferSize);
  if (n < 0) error_ = true;
  pos_ = 0;
  end_ = n > 0 ? static_cast<std::size_t>(n) : 0;
  return n > 0;
}

LineReader::Result LineReader::next(std::string_view& line) {
  char* const start = buffer_.get() + pos_;
  char* const lf = static_cast<char*>(std::memchr(start, '\n', end_ - pos_));
  if (lf == nullptr) return gather(line);
  pos_ = lf + 1 - buffer_.get();
  if (lf > start && lf[-1] == '\r') {
    // The line feed takes the place of the carriage return it follows.
    lf[-1] = '\n';
    line = {start, static_cast<std::size_t>(lf - start)};
  } else {
    line = {start, static_cast<std::size_t>(lf + 1 - start)};
  }
  return Result::kLine;
}

// The slow way, for a line that the buffer does not hold whole: its pieces
// are gathered in carry_.
LineReader::Result LineReader::gather(std::string_view& line) {
  carry_.assign(buffer_.get() + pos_, end_ - pos_);
  pos_ = end_;
  for (;;) {
    if (!fill()) {
      if (error_) return Result::kError;
      if (carry_.empty()) return Result::kEnd;
      break;  // the last line has no line feed
    }
    const char* start = buffer_.get();
    const void* lf = std::memchr(start, '\n', end_);
    if (lf == nullptr) {
      carry_.append(start, end_);
      pos_ = end_;
      continue;
    }
    const std::size_t taken = static_cast<const char*>(lf) - start;
    carry_.append(start, taken);
    pos_ = taken + 1;
    break;
  }
  if (!carry_.empty() && carry_.back() == '\r') carry_.pop_back();
  carry_.push_back('\n');
  line = carry_;
  return Result::kLine;
}

}  // namespace zemuc
