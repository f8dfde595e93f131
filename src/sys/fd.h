// File descriptors: one that closes itself, and reading and writing them
// whole, as pipes and terminals take it.
#ifndef ZEMUC_SYS_FD_H_
#define ZEMUC_SYS_FD_H_

#include <string>
#include <string_view>

namespace zemuc {

// Owns a descriptor and closes it when it goes; -1 holds none.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes the descriptor held, if any, and holds `fd`.
  void reset(int fd = -1);
  // Closes it now; false with errno set when the close reports an error
  // (a full disk may show only there).
  bool close();

 private:
  int fd_ = -1;
};

// Opens /dev/null on each of standard input, output and error that is
// closed, so that no descriptor opened later takes its number: a child
// would take it for its input or output. False with errno set when that
// cannot be done.
bool open_standard_descriptors();

// Writes every byte, going on after interruptions and partial writes;
// false with errno set when the descriptor takes no more (a closed pipe).
bool write_all(int fd, std::string_view bytes);

// Whether `fd` can be read without waiting; a poll that fails counts as
// readable, so that the read that follows says why.
bool readable_now(int fd);

// What one read of what `fd` holds now did.
enum class ReadNow { kNothing, kRead, kEnded, kFailed };

// Appends to `out` what `fd` holds now, in one read and without waiting:
// kNothing where it holds nothing yet (or the read was interrupted), kEnded
// at its end, kFailed with errno set when the read fails.
ReadNow read_ready(int fd, std::string& out);

// Appends everything up to the end of `fd` to `out`; false with errno set
// when a read fails.
bool read_all(int fd, std::string& out);

}  // namespace zemuc

#endif  // ZEMUC_SYS_FD_H_
