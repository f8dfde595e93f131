#include "io/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zemuc::testing {
namespace {

// Hands out its text at most `chunk` bytes per read, then fails with -1
// if `fail_at_end` is set, so that line ends can straddle reads.
class ChunkedSource : public ByteSource {
 public:
  ChunkedSource(std::string text, std::size_t chunk, bool fail_at_end = false)
      : text_(std::move(text)), chunk_(chunk), fail_at_end_(fail_at_end) {}

  std::ptrdiff_t read(char* buffer, std::size_t size) override {
    ++reads;
    const std::size_t n = std::min({size, chunk_, text_.size() - pos_});
    if (n == 0 && fail_at_end_) return -1;
    text_.copy(buffer, n, pos_);
    pos_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }

  int reads = 0;

 private:
  std::string text_;
  std::size_t chunk_;
  bool fail_at_end_;
  std::size_t pos_ = 0;
};

std::vector<std::string> read_all(ByteSource& source,
                                  LineReader::Result* last = nullptr) {
  LineReader reader(source);
  std::vector<std::string> lines;
  std::string_view line;
  LineReader::Result result;
  while ((result = reader.next(line)) == LineReader::Result::kLine) {
    lines.emplace_back(line);
  }
  if (last != nullptr) *last = result;
  return lines;
}

TEST(LineReader, EveryLineEndsWithOneLineFeed) {
  using Lines = std::vector<std::string>;
  const struct {
    std::string source;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"\n", {"\n"}},
      {"\n\n", {"\n", "\n"}},
      {"a\nb\n", {"a\n", "b\n"}},
      // The one carriage return right before a line feed is dropped.
      {"a\r\nb\r\n", {"a\n", "b\n"}},
      {"\r\n", {"\n"}},
      {"a\r\r\n", {"a\r\n"}},
      {"a\rb\n", {"a\rb\n"}},
      {"\ra\n", {"\ra\n"}},
      // A last line without a line feed reads as if it had one.
      {"abc", {"abc\n"}},
      {"a\nabc", {"a\n", "abc\n"}},
      {"abc\r", {"abc\n"}},
      {"a\n\r", {"a\n", "\n"}},
      // 0x1A and NUL are ordinary bytes.
      {"a\x1A\nb\n", {"a\x1A\n", "b\n"}},
      {std::string("a\0b\n\0", 5),
       {std::string("a\0b\n", 4), std::string("\0\n", 2)}},
  };
  for (const auto& c : cases) {
    for (std::size_t chunk : {1u, 2u, 3u, 1u << 20}) {
      ChunkedSource source(c.source, chunk);
      EXPECT_EQ(read_all(source), c.lines)
          << "source of " << c.source.size() << " bytes, chunk " << chunk;
    }
  }
}

TEST(LineReader, ReadsLinesLongerThanItsBuffer) {
  const std::string long_line(200 * 1024, 'x');
  // The CR of the first line is the last byte of the first 64 KiB read.
  const std::string cr_line(64 * 1024 - 1, 'y');
  ChunkedSource source(long_line + "\n" + cr_line + "\r\n" + long_line,
                       1u << 20);
  const std::vector<std::string> lines = read_all(source);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], long_line + "\n");
  EXPECT_EQ(lines[1], cr_line + "\n");
  EXPECT_EQ(lines[2], long_line + "\n");
}

TEST(LineReader, ReadErrorIsNotAnEnd) {
  LineReader::Result last;
  // At once: no line at all.
  ChunkedSource at_once("", 8, /*fail_at_end=*/true);
  EXPECT_TRUE(read_all(at_once, &last).empty());
  EXPECT_EQ(last, LineReader::Result::kError);

  // After whole lines: those lines, then the error.
  ChunkedSource after_lines("a\nb\n", 8, true);
  EXPECT_EQ(read_all(after_lines, &last),
            (std::vector<std::string>{"a\n", "b\n"}));
  EXPECT_EQ(last, LineReader::Result::kError);

  // In the middle of a line: the piece read is not given out as a line.
  ChunkedSource mid_line("a\nbc", 8, true);
  EXPECT_EQ(read_all(mid_line, &last), std::vector<std::string>{"a\n"});
  EXPECT_EQ(last, LineReader::Result::kError);
}

TEST(LineReader, ErrorSticksWithoutReadingAgain) {
  ChunkedSource source("", 8, true);
  LineReader reader(source);
  std::string_view line = "old";
  EXPECT_EQ(reader.next(line), LineReader::Result::kError);
  EXPECT_EQ(reader.next(line), LineReader::Result::kError);
  EXPECT_EQ(source.reads, 1);
}

TEST(LineReader, EndStaysAnEnd) {
  MemorySource source("a");
  LineReader reader(source);
  std::string_view line;
  EXPECT_EQ(reader.next(line), LineReader::Result::kLine);
  EXPECT_EQ(reader.next(line), LineReader::Result::kEnd);
  EXPECT_EQ(reader.next(line), LineReader::Result::kEnd);
}

// The 16-byte search and memchr find the same line feed, also one that
// lies past the end of the range, which neither may report.
TEST(FindLineFeed, BothSearchesAgree) {
  for (std::size_t n = 0; n < 48; ++n) {
    for (std::size_t at = 0; at <= n + 16; ++at) {
      std::string bytes(n + 32, 'a');
      bytes[at] = '\n';
      const char* p = bytes.data();
      const char* portable = find_line_feed_portable(p, p + n);
      EXPECT_EQ(portable, p + (at < n ? at : n)) << n << " " << at;
#if defined(__SSE2__)
      EXPECT_EQ(find_line_feed_sse2(p, p + n), portable) << n << " " << at;
#endif
    }
  }
}

// Every line comes with padding that a scan may read: lines in the buffer,
// lines gathered across reads, the last line without a line feed. Under
// the address sanitizer a missing byte shows as a fault here.
TEST(LineReader, PaddingAfterEveryLineCanBeRead) {
  const std::string source = "a\n" + std::string(100 * 1024, 'x') +
                             "\r\nbc\r\n" + std::string(5, 'y') + "\nlast";
  for (std::size_t chunk : {1u, 7u, 1u << 20}) {
    ChunkedSource chunked(source, chunk);
    LineReader reader(chunked);
    std::string_view line;
    std::size_t lines = 0;
    while (reader.next(line) == LineReader::Result::kLine) {
      ++lines;
      const std::string padding(line.data() + line.size(),
                                LineReader::kPadding);
      EXPECT_EQ(padding.size(), LineReader::kPadding);
    }
    EXPECT_EQ(lines, 5u) << chunk;
  }
}

}  // namespace
}  // namespace zemuc::testing
