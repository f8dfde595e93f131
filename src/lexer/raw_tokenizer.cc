// Splitting a line where it lies, for lines that need no squeezing.
#include "lexer/line_scan.h"
#include "lexer/tokenizer.h"

namespace zemuc {
namespace {

// Fills the arrays of a TokenLine. With kCheckRoom they grow as tokens come;
// without, the caller has made room for a token per byte of the line.
template <bool kCheckRoom>
class TokenSink {
 public:
  explicit TokenSink(TokenLine& line)
      : line_(line),
        tokens_(line.tokens.data()),
        delims_(line.delims.data()),
        lengths_(line.lengths.data()),
        room_(line.tokens.size()) {}

  bool token(const char* begin, std::size_t size, std::size_t length,
             char delim) {
    if constexpr (kCheckRoom) {
      if (count_ >= room_) grow();
    }
    // Through plain pointers: a store of a delimiter byte could otherwise
    // alias the vectors' own pointers and force their reload.
    tokens_[count_] = std::string_view(begin, size);
    delims_[count_] = delim;
    lengths_[count_] = length;
    line_.count = count_++;
    return true;
  }

 private:
  void grow() {
    room_ *= 2;
    line_.resize(room_);
    tokens_ = line_.tokens.data();
    delims_ = line_.delims.data();
    lengths_ = line_.lengths.data();
  }

  TokenLine& line_;
  std::string_view* tokens_;
  char* delims_;
  std::size_t* lengths_;
  std::size_t room_;
  std::size_t count_ = 1;
};

template <class Bytes>
void tokenize_with(TokenLine& line, std::string_view raw) {
  // A line ends at its first line feed; one without any is not one the line
  // reader gives.
  ScanEnd end = ScanEnd::kSpace;
  if (!raw.empty() && raw.back() == '\n') {
    // A line of n bytes has at most n tokens.
    if (line.tokens.size() <= raw.size() && raw.size() < 4096) {
      // Room for a token per byte costs little on a short line.
      line.resize(raw.size() < 32 ? 64 : 2 * raw.size());
    }
    if (line.tokens.size() > raw.size()) {
      TokenSink<false> sink(line);
      end = scan_line<Bytes>(raw.data(), sink);
    } else {
      if (line.tokens.size() < 64) line.resize(64);
      TokenSink<true> sink(line);
      end = scan_line<Bytes>(raw.data(), sink);
    }
  }
  if (end != ScanEnd::kDone) {
    line.text.assign(raw);
    tokenize_line(line);
  }
}

}  // namespace

void tokenize_raw(TokenLine& line, std::string_view raw) {
  tokenize_with<FastBytes>(line, raw);
}

void tokenize_raw_portable(TokenLine& line, std::string_view raw) {
  tokenize_with<PortableBytes>(line, raw);
}

}  // namespace zemuc
