// The base protocol: each message is a header of "Name: value" lines ended
// by an empty line, then as many bytes of JSON as its Content-Length says.
#ifndef ZEMUC_SERVER_FRAMING_H_
#define ZEMUC_SERVER_FRAMING_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zemuc::lsp {

struct Frame {
  // A header the reader could not use; `body` then says why, and the
  // reader has skipped to the next Content-Length it could find.
  bool malformed = false;
  std::string body;
};

class FrameReader {
 public:
  // Bodies above this, and headers above kLargestHeader, are refused: a
  // wrong length must not make the server wait for, or hold, gigabytes.
  static constexpr std::size_t kLargestBody = std::size_t{1} << 30;
  static constexpr std::size_t kLargestHeader = 64 * 1024;

  void feed(std::string_view bytes);
  // The next whole message, or nothing until more bytes come.
  std::optional<Frame> next();
  // Whether bytes of an unfinished message are held.
  bool holds_partial() const { return start_ < buffer_.size(); }

 private:
  Frame refuse(std::string reason, std::size_t skip_from);

  // Drops bytes up to the next Content-Length; false while none is there.
  bool skip_to_header();

  std::string buffer_;
  std::size_t start_ = 0;  // bytes before it are consumed
  bool skipping_ = false;  // after a refusal, until the next header
};

// A message body with its header.
std::string frame(std::string_view body);

}  // namespace zemuc::lsp

#endif  // ZEMUC_SERVER_FRAMING_H_
