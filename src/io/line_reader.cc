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

// The buffer is zeroed once, so that the padding past the bytes read is
// never read before it was written.
LineReader::LineReader(ByteSource& source)
    : source_(source),
      buffer_(std::make_unique<char[]>(kBufferSize + kPadding)) {}

bool LineReader::fill() {
  if (error_) return false;
  const std::ptrdiff_t n = source_.read(buffer_.get(), kBufferSize);
  if (n < 0) error_ = true;
  pos_ = 0;
  end_ = n > 0 ? static_cast<std::size_t>(n) : 0;
  return n > 0;
}

void LineReader::append_carry(const char* bytes, std::size_t n) {
  if (carry_.size() < carry_size_ + n + kPadding) {
    carry_.resize(2 * (carry_size_ + n) + kPadding);
  }
  std::memcpy(carry_.data() + carry_size_, bytes, n);
  carry_size_ += n;
}

// The slow way, for a line that the buffer does not hold whole: its pieces
// are gathered in carry_.
LineReader::Result LineReader::gather(std::string_view& line) {
  carry_size_ = 0;
  append_carry(buffer_.get() + pos_, end_ - pos_);
  pos_ = end_;
  for (;;) {
    if (!fill()) {
      if (error_) return Result::kError;
      if (carry_size_ == 0) return Result::kEnd;
      break;  // the last line has no line feed
    }
    const char* start = buffer_.get();
    const char* lf = find_line_feed_portable(start, start + end_);
    const std::size_t taken = lf - start;
    append_carry(start, taken);
    pos_ = taken;
    if (taken < end_) {
      ++pos_;
      break;
    }
  }
  if (carry_size_ > 0 && carry_[carry_size_ - 1] == '\r') --carry_size_;
  append_carry("\n", 1);
  line = {carry_.data(), carry_size_};
  return Result::kLine;
}

}  // namespace zemuc
