#include "zemuc/relay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "sys/fd.h"
#include "sys/pty.h"
#include "sys/signals.h"

namespace zemuc {
namespace {

constexpr char kInterrupt = 0x03;    // Ctrl-C
constexpr char kEndOfFile = 0x04;    // Ctrl-D
constexpr char kQuit = 0x1C;         // Ctrl-backslash
constexpr char kNextLiteral = 0x16;  // Ctrl-V

// Stop reading the user's input while this much waits for the program.
constexpr std::size_t kInputBacklog = 64 * 1024;

// The user's side of one run: what is read from the input, converted and
// waiting for the program, and whether the input has ended. Input from a
// terminal goes to the program's terminal, a line at a time as typed;
// any other input goes to the program through a pipe, whole, so that no
// terminal's line limit cuts it and every byte passes as it is.
class InputRelay {
 public:
  InputRelay(int fd, Encoding terminal, UniqueFd pipe)
      : fd_(fd),
        from_terminal_(terminal, Encoding::kShiftJis),
        is_terminal_(::isatty(fd) == 1),
        pipe_(std::move(pipe)) {}

  int fd() const { return fd_; }
  // The program's input when it is not its terminal; -1 once closed.
  int pipe() const { return pipe_.get(); }
  // Whether a line was typed on the user's terminal since the program last
  // showed something: the terminal's echo of it ends a line.
  bool typed_line_end() const { return typed_line_end_; }
  void forget_typed_line_end() { typed_line_end_ = false; }
  bool wants_more() const { return open_ && waiting_.size() < kInputBacklog; }
  bool has_waiting() const { return !waiting_.empty(); }

  // Reads what arrived; `hung_up` when poll said the input is gone.
  void read_some(bool hung_up) {
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    // Ctrl-D at the start of a line ends the program's input as it ends a
    // read of the terminal's, and no more: a program that clears its end
    // of input and reads again gets the lines typed next.
    if (n == 0 && is_terminal_ && !hung_up) {
      end_input();
      return;
    }
    if (n <= 0) {
      end();
      return;
    }
    const std::string_view piece(buffer, static_cast<std::size_t>(n));
    if (is_terminal_ && piece.find('\n') != std::string_view::npos) {
      typed_line_end_ = true;
    }
    queue(from_terminal_.feed(piece));
    // A terminal hands over a line without its end only when Ctrl-D pushed
    // it; the program's side is told the same way.
    if (is_terminal_ && !piece.ends_with('\n')) push_line();
  }

  // Writes what the program's side takes now.
  void write_to(int master) {
    const int target = pipe_ ? pipe_.get() : master;
    const ssize_t n = ::write(target, waiting_.data(), waiting_.size());
    if (n > 0) waiting_.erase(0, static_cast<std::size_t>(n));
    // A program that closed its input takes no more of it.
    if (n < 0 && errno == EPIPE && pipe_) {
      waiting_.clear();
      open_ = false;
    }
    close_pipe_at_end();
  }

 private:
  void queue(const std::string& sjis) {
    if (sjis.empty()) return;
    waiting_ += pipe_ ? sjis : literal_input(sjis);
    line_open_ = sjis.back() != '\n';
  }
  void push_line() {
    waiting_ += kEndOfFile;
    line_open_ = false;
  }
  void end() {
    open_ = false;
    if (!pipe_) {
      end_input();
    } else {
      queue(from_terminal_.finish());
    }
    close_pipe_at_end();
  }
  // The program's terminal told of the end of its input.
  void end_input() {
    queue(from_terminal_.finish());
    if (line_open_) push_line();  // the last line, without a line end
    waiting_ += kEndOfFile;       // then the end itself
  }
  // The end of a pipe's input is its closing, once all of it is written.
  void close_pipe_at_end() {
    if (!open_ && waiting_.empty()) pipe_.reset();
  }

  int fd_;
  StreamConverter from_terminal_;
  bool is_terminal_;
  UniqueFd pipe_;
  bool open_ = true;
  bool line_open_ = false;
  bool typed_line_end_ = false;
  std::string waiting_;
};

// Relays both ways until the program has ended and its side of the
// pseudo-terminal is closed, passing the ending signals on meanwhile.
class Relay {
 public:
  Relay(PtyChild& child, SignalFd& signals, InputRelay& input, int output_fd,
        Encoding terminal)
      : child_(child),
        signals_(signals),
        input_(input),
        output_fd_(output_fd),
        to_terminal_(Encoding::kShiftJis, terminal) {}

  std::optional<ProgramEnd> run() {
    while (!ended_ || master_open_) {
      if (!ended_ && wait_failed_) return std::nullopt;
      const bool to_pipe = input_.pipe() >= 0;
      const short writing = input_.has_waiting() ? POLLOUT : 0;
      const short master_events =
          static_cast<short>(POLLIN | (to_pipe ? 0 : writing));
      pollfd fds[4] = {
          {master_open_ ? child_.master.get() : -1, master_events, 0},
          {signals_.fd(), POLLIN, 0},
          {input_.wants_more() && master_open_ ? input_.fd() : -1, POLLIN, 0},
          {to_pipe && writing != 0 ? input_.pipe() : -1, POLLOUT, 0}};
      // Once the program has ended, what it wrote is all there: the rest
      // is read without waiting for descendants that keep its terminal.
      if (::poll(fds, 4, ended_ ? 0 : -1) < 0) {
        if (errno == EINTR) continue;
        return std::nullopt;
      }
      if (fds[1].revents & POLLIN) take_signals();
      if (fds[2].revents != 0) {
        input_.read_some((fds[2].revents & (POLLHUP | POLLERR)) != 0);
      }
      if ((fds[0].revents & POLLOUT) || fds[3].revents != 0) {
        input_.write_to(child_.master.get());
      }
      if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
        show_output();
      } else if (ended_) {
        master_open_ = false;
      }
    }
    if (output_error_ == 0 && !write_all(output_fd_, to_terminal_.finish())) {
      output_error_ = errno;
    }
    return ProgramEnd{*ended_, at_line_start_ || input_.typed_line_end(),
                      output_error_};
  }

 private:
  void take_signals() {
    while (const int signal = signals_.take()) {
      if (signal != SIGCHLD) {
        ::kill(-child_.pid, signal);
      } else if (!ended_) {
        ended_ = poll_for(child_.pid, wait_failed_);
      }
    }
  }

  void show_output() {
    char buffer[65536];
    const ssize_t n = ::read(child_.master.get(), buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    // EIO: every descriptor of the program's side is closed.
    if (n <= 0) {
      master_open_ = false;
      return;
    }
    const std::string shown =
        to_terminal_.feed({buffer, static_cast<std::size_t>(n)});
    if (!shown.empty()) {
      at_line_start_ = shown.back() == '\n';
      input_.forget_typed_line_end();
    }
    if (output_error_ == 0 && !write_all(output_fd_, shown)) {
      // Nobody takes the program's output any more (the reader of a pipe
      // has gone): the program ends as it would alone, of SIGPIPE.
      output_error_ = errno;
      ::kill(-child_.pid, SIGPIPE);
    }
  }

  PtyChild& child_;
  SignalFd& signals_;
  InputRelay& input_;
  int output_fd_;
  StreamConverter to_terminal_;
  int output_error_ = 0;  // why the output could not be shown
  bool at_line_start_ = true;
  bool master_open_ = true;
  bool wait_failed_ = false;
  std::optional<Ended> ended_;
};

}  // namespace

void set_program_side(termios& settings) {
  settings.c_iflag = 0;
  settings.c_oflag = 0;
  settings.c_lflag = ICANON | ISIG | IEXTEN;
  for (cc_t& c : settings.c_cc) c = _POSIX_VDISABLE;
  settings.c_cc[VINTR] = kInterrupt;
  settings.c_cc[VQUIT] = kQuit;
  settings.c_cc[VEOF] = kEndOfFile;
  settings.c_cc[VLNEXT] = kNextLiteral;
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
}

std::string literal_input(std::string_view sjis_bytes) {
  std::string out;
  out.reserve(sjis_bytes.size());
  for (const char c : sjis_bytes) {
    if (c == kInterrupt || c == kEndOfFile || c == kQuit || c == kNextLiteral) {
      out += kNextLiteral;
    }
    out += c;
  }
  return out;
}

std::optional<ProgramEnd> run_on_pseudo_terminal(
    const std::string& program, Encoding terminal, int input_fd, int output_fd,
    const sigset_t& mask, const std::vector<std::string>& settings,
    const std::function<void()>& started) {
  // The ending signals and the child's end arrive as readable events
  // instead of interrupting the relay; SIGPIPE from a closed output only
  // ends the showing.
  const HeldSignals held(ending_signals_and_child());
  const IgnoredSignal no_pipe_signal(SIGPIPE);
  std::optional<SignalFd> signals = SignalFd::open(ending_signals_and_child());
  if (!signals) return std::nullopt;
  winsize size{};
  const bool sized = ::ioctl(output_fd, TIOCGWINSZ, &size) == 0;
  // Input that is not a terminal reaches the program through a pipe.
  UniqueFd pipe_read;
  UniqueFd pipe_write;
  if (::isatty(input_fd) != 1) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    pipe_read.reset(fds[0]);
    pipe_write.reset(fds[1]);
    const int flags = ::fcntl(fds[1], F_GETFL);
    if (flags < 0 || ::fcntl(fds[1], F_SETFL, flags | O_NONBLOCK) != 0) {
      return std::nullopt;
    }
  }
  std::optional<PtyChild> child =
      start_on_pty(program, sized ? &size : nullptr, set_program_side, mask,
                   pipe_read.get(), settings);
  if (!child) return std::nullopt;
  pipe_read.reset();
  started();
  const int flags = ::fcntl(child->master.get(), F_GETFL);
  if (flags < 0 ||
      ::fcntl(child->master.get(), F_SETFL, flags | O_NONBLOCK) != 0) {
    const int error = errno;
    ::kill(-child->pid, SIGKILL);
    (void)wait_for(child->pid);
    errno = error;
    return std::nullopt;
  }
  InputRelay input(input_fd, terminal, std::move(pipe_write));
  return Relay(*child, *signals, input, output_fd, terminal).run();
}

}  // namespace zemuc
