#include "server/framing.h"

#include <algorithm>
#include <cctype>

#include "text/words.h"

namespace zemuc::lsp {
namespace {

constexpr std::string_view kEndOfHeader = "\r\n\r\n";
constexpr std::string_view kLengthName = "content-length";
// The blanks around a header's name and value; a line end inside a header
// line is none.
constexpr std::string_view kHeaderBlanks = " \t";

bool same_word(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The first "Content-Length" in `text` from `from` on, in any case; npos
// when there is none.
std::size_t find_length_header(std::string_view text, std::size_t from) {
  for (std::size_t i = from; i + kLengthName.size() <= text.size(); ++i) {
    if (same_word(text.substr(i, kLengthName.size()), kLengthName)) return i;
  }
  return std::string_view::npos;
}

// The body length that a header block names, or a reason why it names
// none.
struct Length {
  std::optional<std::size_t> bytes;
  std::string problem;
  // A line that is no header: the header may start within the block.
  bool garbage = false;
};

Length length_of(std::string_view header) {
  std::optional<std::size_t> length;
  while (!header.empty()) {
    const std::size_t eol = header.find("\r\n");
    const std::string_view line = header.substr(0, eol);
    header = eol == std::string_view::npos ? std::string_view()
                                           : header.substr(eol + 2);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
      return {std::nullopt, "a header line without a colon", true};
    }
    if (!same_word(trimmed(line.substr(0, colon), kHeaderBlanks),
                   kLengthName)) {
      continue;
    }
    const std::optional<std::size_t> n =
        number_of<std::size_t>(trimmed(line.substr(colon + 1), kHeaderBlanks));
    if (!n) return {std::nullopt, "a Content-Length that is no number"};
    if (length && *length != *n) return {std::nullopt, "two Content-Lengths"};
    length = n;
  }
  if (!length) return {std::nullopt, "a header without Content-Length"};
  if (*length > FrameReader::kLargestBody) {
    return {std::nullopt, "a Content-Length too large to take"};
  }
  return {length, {}};
}

}  // namespace

void FrameReader::feed(std::string_view bytes) {
  // What was consumed goes once it is most of the buffer, so that the
  // buffer is moved a bounded number of times per byte.
  if (start_ > 0 && start_ >= buffer_.size() / 2) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
  buffer_.append(bytes);
}

Frame FrameReader::refuse(std::string reason, std::size_t skip_from) {
  start_ = skip_from;
  skipping_ = true;
  return {true, std::move(reason)};
}

bool FrameReader::skip_to_header() {
  const std::size_t next = find_length_header(buffer_, start_);
  if (next != std::string_view::npos) {
    start_ = next;
    skipping_ = false;
    return true;
  }
  // Keep what could be the start of a header split between two reads.
  const std::size_t keep =
      std::min(buffer_.size() - start_, kLengthName.size() - 1);
  start_ = buffer_.size() - keep;
  return false;
}

std::optional<Frame> FrameReader::next() {
  if (skipping_ && !skip_to_header()) return std::nullopt;
  const std::string_view rest = std::string_view(buffer_).substr(start_);
  if (rest.empty()) return std::nullopt;
  const std::size_t end = rest.find(kEndOfHeader);
  if (end == std::string_view::npos) {
    if (rest.size() > kLargestHeader) {
      return refuse("a header that does not end", start_ + 1);
    }
    return std::nullopt;
  }
  const Length length = length_of(rest.substr(0, end));
  const std::size_t body_at = end + kEndOfHeader.size();
  // A block of headers without a usable length is passed over whole.
  if (!length.bytes) {
    return refuse(length.problem, start_ + (length.garbage ? 1 : body_at));
  }
  if (rest.size() - body_at < *length.bytes) return std::nullopt;
  Frame frame{false, std::string(rest.substr(body_at, *length.bytes))};
  start_ += body_at + *length.bytes;
  return frame;
}

std::string frame(std::string_view body) {
  std::string out = "Content-Length: " + std::to_string(body.size());
  out.append(kEndOfHeader).append(body);
  return out;
}

}  // namespace zemuc::lsp
