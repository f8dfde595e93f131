#include "zemuc/terminal_run.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sys/fd.h"
#include "sys/process.h"

namespace zemuc {
namespace {

constexpr char kInterrupt = 0x03;    // Ctrl-C
constexpr char kEndOfFile = 0x04;    // Ctrl-D
constexpr char kQuit = 0x1C;         // Ctrl-backslash
constexpr char kNextLiteral = 0x16;  // Ctrl-V

// Stop reading the user's input while this much waits for the program.
constexpr std::size_t kInputBacklog = 64 * 1024;

[[noreturn]] void become_program(const std::string& program, int slave,
                                 const sigset_t& old_mask) {
  ::setsid();
  ::ioctl(slave, TIOCSCTTY, 0);
  for (int fd = 0; fd <= 2; ++fd) ::dup2(slave, fd);
  if (slave > 2) ::close(slave);
  ::signal(SIGPIPE, SIG_DFL);
  ::sigprocmask(SIG_SETMASK, &old_mask, nullptr);
  ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
  const std::string why =
      "zemuc: " + program + ": " + std::strerror(errno) + "\n";
  (void)!::write(2, why.data(), why.size());
  ::_exit(127);
}

// The user's side of one run: what is read from the input, converted and
// waiting for the program, and whether the input has ended.
class InputRelay {
 public:
  InputRelay(int fd, Encoding terminal)
      : fd_(fd),
        from_terminal_(terminal, Encoding::kShiftJis),
        is_terminal_(::isatty(fd) == 1) {}

  int fd() const { return fd_; }
  bool wants_more() const { return open_ && waiting_.size() < kInputBacklog; }
  bool has_waiting() const { return !waiting_.empty(); }

  void read_some() {
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
      end();
      return;
    }
    const std::string_view piece(buffer, static_cast<std::size_t>(n));
    queue(from_terminal_.feed(piece));
    // A terminal hands over a line without its end only when Ctrl-D pushed
    // it; the program's side is told the same way.
    if (is_terminal_ && !piece.ends_with('\n')) push_line();
  }

  // Writes what the program's side takes now.
  void write_to(int master) {
    const ssize_t n = ::write(master, waiting_.data(), waiting_.size());
    if (n > 0) waiting_.erase(0, static_cast<std::size_t>(n));
  }

 private:
  void queue(const std::string& sjis) {
    if (sjis.empty()) return;
    waiting_ += literal_input(sjis);
    line_open_ = sjis.back() != '\n';
  }
  void push_line() {
    waiting_ += kEndOfFile;
    line_open_ = false;
  }
  void end() {
    queue(from_terminal_.finish());
    if (line_open_) push_line();  // the last line, without a line end
    waiting_ += kEndOfFile;       // then the end itself
    open_ = false;
  }

  int fd_;
  StreamConverter from_terminal_;
  bool is_terminal_;
  bool open_ = true;
  bool line_open_ = false;
  std::string waiting_;
};

// Relays both ways until the program's side of the pseudo-terminal is
// closed, that is, until the program has ended.
void relay(int master, int signals, pid_t child, InputRelay& input,
           int output_fd, Encoding terminal) {
  StreamConverter to_terminal(Encoding::kShiftJis, terminal);
  bool output_ok = true;
  for (;;) {
    const short master_events =
        static_cast<short>(POLLIN | (input.has_waiting() ? POLLOUT : 0));
    pollfd fds[3] = {{master, master_events, 0},
                     {signals, POLLIN, 0},
                     {input.wants_more() ? input.fd() : -1, POLLIN, 0}};
    if (::poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents & POLLIN) {
      signalfd_siginfo info;
      if (::read(signals, &info, sizeof info) == sizeof info) {
        ::kill(-child, static_cast<int>(info.ssi_signo));
      }
    }
    if (fds[2].revents != 0) input.read_some();
    if (fds[0].revents & POLLOUT) input.write_to(master);
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      char buffer[65536];
      const ssize_t n = ::read(master, buffer, sizeof buffer);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      // EIO: every descriptor of the program's side is closed.
      if (n <= 0) break;
      const std::string shown =
          to_terminal.feed({buffer, static_cast<std::size_t>(n)});
      if (output_ok) output_ok = write_all(output_fd, shown);
    }
  }
  if (output_ok) write_all(output_fd, to_terminal.finish());
}

int wait_for(pid_t child) {
  int wstatus = 0;
  while (::waitpid(child, &wstatus, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFSIGNALED(wstatus)) return 128 + WTERMSIG(wstatus);
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

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

int run_on_pseudo_terminal(const std::string& program, Encoding terminal,
                           int input_fd, int output_fd) {
  int master = -1;
  int slave = -1;
  winsize size{};
  const bool sized = ::ioctl(output_fd, TIOCGWINSZ, &size) == 0;
  if (::openpty(&master, &slave, nullptr, nullptr, sized ? &size : nullptr) !=
      0) {
    return -1;
  }
  termios settings;
  ::tcgetattr(slave, &settings);
  set_program_side(settings);
  ::tcsetattr(slave, TCSANOW, &settings);

  // The ending signals arrive as readable events instead of interrupting
  // the relay; SIGPIPE from a closed output only ends the showing.
  const sigset_t ending = ending_signals();
  sigset_t old_mask;
  ::sigprocmask(SIG_BLOCK, &ending, &old_mask);
  struct sigaction ignore {
  }, old_pipe{};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &ignore, &old_pipe);

  const pid_t child = ::fork();
  if (child == 0) {
    ::close(master);
    become_program(program, slave, old_mask);
  }
  ::close(slave);
  int status = -1;
  if (child > 0) {
    const int signals = ::signalfd(-1, &ending, SFD_CLOEXEC);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    InputRelay input(input_fd, terminal);
    relay(master, signals, child, input, output_fd, terminal);
    status = wait_for(child);
    ::close(signals);
  }
  ::close(master);
  ::sigaction(SIGPIPE, &old_pipe, nullptr);
  ::sigprocmask(SIG_SETMASK, &old_mask, nullptr);
  return status;
}

}  // namespace zemuc
