#include "server/transport.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "sys/fd.h"

namespace zemuc::lsp {
namespace {

// Waits up to `timeout_ms` (-1: for ever) for `fd` to be readable; false
// with errno set when poll fails.
bool poll_readable(int fd, int timeout_ms, bool& readable) {
  pollfd entry{fd, POLLIN, 0};
  for (;;) {
    const int n = poll(&entry, 1, timeout_ms);
    if (n >= 0) {
      readable = n > 0;
      return true;
    }
    if (errno != EINTR) return false;
  }
}

}  // namespace

ReadResult read_waiting(int fd, FrameReader& reader, bool wait) {
  // A client that never stops writing still gets answers now and then.
  constexpr std::size_t kMostInOneGo = 64 << 20;
  char buffer[64 * 1024];
  bool read_any = false;
  for (std::size_t total = 0; total < kMostInOneGo;) {
    bool readable = false;
    if (!poll_readable(fd, wait && !read_any ? -1 : 0, readable)) {
      return ReadResult::kFailed;
    }
    if (!readable) return read_any ? ReadResult::kRead : ReadResult::kNone;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return ReadResult::kFailed;
    }
    // The end is told once what came before it is handled.
    if (n == 0) return read_any ? ReadResult::kRead : ReadResult::kEnd;
    reader.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
    total += static_cast<std::size_t>(n);
    read_any = true;
  }
  return ReadResult::kRead;
}

bool input_waiting(int fd) {
  bool readable = false;
  return poll_readable(fd, 0, readable) && readable;
}

bool wait_readable(int fd, int other, int timeout_ms) {
  pollfd entries[2] = {{fd, POLLIN, 0}, {other, POLLIN, 0}};
  while (poll(entries, 2, timeout_ms) < 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

bool write_message(int fd, std::string_view body) {
  return write_all(fd, frame(body));
}

}  // namespace zemuc::lsp
