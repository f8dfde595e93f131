#include "sys/fd.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace zemuc {

void UniqueFd::reset(int fd) {
  // Only a descriptor written to has a close worth checking; those call
  // close() themselves.
  if (fd_ >= 0) (void)::close(fd_);
  fd_ = fd;
}

bool UniqueFd::close() {
  const int fd = release();
  return fd < 0 || ::close(fd) == 0;
}

bool open_standard_descriptors() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    // The lowest free number is the closed one.
    const int opened =
        ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened != fd) {
      if (opened >= 0) ::close(opened);
      return false;
    }
  }
  return true;
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool readable_now(int fd) {
  pollfd entry{fd, POLLIN, 0};
  int n;
  while ((n = ::poll(&entry, 1, 0)) < 0 && errno == EINTR) {
  }
  return n != 0;
}

ReadNow read_ready(int fd, std::string& out) {
  if (!readable_now(fd)) return ReadNow::kNothing;
  char buffer[64 * 1024];
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  if (n > 0) {
    out.append(buffer, static_cast<std::size_t>(n));
    return ReadNow::kRead;
  }
  if (n == 0) return ReadNow::kEnded;
  return errno == EINTR || errno == EAGAIN ? ReadNow::kNothing
                                           : ReadNow::kFailed;
}

bool read_all(int fd, std::string& out) {
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace zemuc
