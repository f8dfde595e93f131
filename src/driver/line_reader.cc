#include "driver/line_reader.h"

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

LineReader::Result LineReader::next(std::string& line) {
  line.clear();
  for (;;) {
    if (pos_ == end_ && !fill()) {
      if (error_) return Result::kError;
      if (line.empty()) return Result::kEnd;
      break;  // the last line has no line feed
    }
    const char* start = buffer_.get() + pos_;
    const std::size_t available = end_ - pos_;
    const void* lf = std::memchr(start, '\n', available);
    if (lf == nullptr) {
      line.append(start, available);
      pos_ = end_;
      continue;
    }
    const std::size_t taken = static_cast<const char*>(lf) - start;
    line.append(start, taken);
    pos_ += taken + 1;
    break;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  line.push_back('\n');
  return Result::kLine;
}

}  // namespace zemuc
