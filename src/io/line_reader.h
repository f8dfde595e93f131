// Reading the source line by line, whatever the length of its lines.
#ifndef ZEMUC_IO_LINE_READER_H_
#define ZEMUC_IO_LINE_READER_H_

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zemuc {

// Where the bytes of a source come from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `size` bytes into `buffer`: the count read, 0 at the end of
  // the source, or -1 when the source cannot be read.
  virtual std::ptrdiff_t read(char* buffer, std::size_t size) = 0;
};

// A source held in memory (tests and fuzzing); the text must outlive it.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view text) : rest_(text) {}
  std::ptrdiff_t read(char* buffer, std::size_t size) override;

 private:
  std::string_view rest_;
};

// The first line feed in [p, end), or end: byte by byte, through memchr.
inline const char* find_line_feed_portable(const char* p, const char* end) {
  const void* lf = std::memchr(p, '\n', end - p);
  return lf != nullptr ? static_cast<const char*>(lf) : end;
}

#if defined(__SSE2__)
// The same, 16 bytes at a time and inline: most lines are shorter than 32
// bytes, and a call to memchr would cost more than the search. Reads whole
// blocks of 16, so up to 15 bytes past `end` must be readable.
inline const char* find_line_feed_sse2(const char* p, const char* end) {
  const __m128i lf = _mm_set1_epi8('\n');
  for (; p < end; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if (const unsigned m = _mm_movemask_epi8(_mm_cmpeq_epi8(block, lf))) {
      const char* const found = p + __builtin_ctz(m);
      return found < end ? found : end;
    }
  }
  return end;
}
#endif

// Splits a source into lines. Every line it gives ends with exactly one line
// feed: a carriage return right before a line feed is dropped, and a last
// line without a line feed gets one. An empty source has no lines.
class LineReader {
 public:
  enum class Result { kLine, kEnd, kError };
  // Bytes after the line feed of every line handed out that may be read,
  // whatever they hold: a scanner may load 16 bytes at a time.
  static constexpr std::size_t kPadding = 16;

  explicit LineReader(ByteSource& source);
  // Points `line` at the next line, which stays valid until the next call.
  // Most lines are handed out in place, without a copy.
  Result next(std::string_view& line) {
    char* const start = buffer_.get() + pos_;
    char* const end = buffer_.get() + end_;
    char* const lf = const_cast<char*>(find_line_feed(start, end));
    if (lf == end) return gather(line);
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

 private:
  static const char* find_line_feed(const char* p, const char* end) {
#if defined(__SSE2__)
    return find_line_feed_sse2(p, end);
#else
    return find_line_feed_portable(p, end);
#endif
  }
  bool fill();  // false at the end of the source or on an error
  Result gather(std::string_view& line);
  void append_carry(const char* bytes, std::size_t n);

  static constexpr std::size_t kBufferSize = 64 * 1024;
  ByteSource& source_;
  std::unique_ptr<char[]> buffer_;  // kBufferSize bytes and the padding
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool error_ = false;
  // A line that runs past the end of the buffer: carry_size_ bytes, then
  // the padding.
  std::vector<char> carry_;
  std::size_t carry_size_ = 0;
};

// Calls `f(number, line)` with every line of a source held in memory, split
// as the translator splits it; lines are numbered from 1.
template <class F>
void for_each_line(std::string_view source, F f) {
  MemorySource bytes(source);
  LineReader reader(bytes);
  std::string_view line;
  std::size_t number = 0;
  while (reader.next(line) == LineReader::Result::kLine) f(++number, line);
}

}  // namespace zemuc

#endif  // ZEMUC_IO_LINE_READER_H_
