// Reading the source line by line, whatever the length of its lines.
#ifndef ZEMUC_IO_LINE_READER_H_
#define ZEMUC_IO_LINE_READER_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

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

// Splits a source into lines. Every line it gives ends with exactly one line
// feed: a carriage return right before a line feed is dropped, and a last
// line without a line feed gets one. An empty source has no lines.
class LineReader {
 public:
  enum class Result { kLine, kEnd, kError };

  explicit LineReader(ByteSource& source);
  // Points `line` at the next line, which stays valid until the next call.
  // Most lines are handed out in place, without a copy.
  Result next(std::string_view& line);

 private:
  bool fill();  // false at the end of the source or on an error
  Result gather(std::string_view& line);

  static constexpr std::size_t kBufferSize = 64 * 1024;
  ByteSource& source_;
  std::unique_ptr<char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool error_ = false;
  std::string carry_;  // a line that runs past the end of the buffer
};

}  // namespace zemuc

#endif  // ZEMUC_IO_LINE_READER_H_
