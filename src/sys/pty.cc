#include "sys/pty.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>

#include "sys/process.h"
#include "sys/signals.h"

namespace zemuc {
namespace {

// In the child, between fork and exec: only calls that are safe there.
// A failure is sent to the parent as its errno through `report`.
[[noreturn]] void become(const std::string& program, void (*setup)(termios&),
                         const sigset_t& mask, int input_fd, char* const* envp,
                         int report) {
  termios settings;
  bool ok = ::tcgetattr(STDIN_FILENO, &settings) == 0;
  if (ok) {
    setup(settings);
    ok = ::tcsetattr(STDIN_FILENO, TCSANOW, &settings) == 0;
  }
  if (ok && input_fd >= 0) {
    ok = ::dup2(input_fd, STDIN_FILENO) == STDIN_FILENO;
  }
  if (ok) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    const sigset_t defaults = signals_reset_for_programs();
    for (int signal = 1; ok && signal < NSIG; ++signal) {
      if (sigismember(&defaults, signal) == 1) {
        ok = ::sigaction(signal, &action, nullptr) == 0;
      }
    }
    ok = ok && ::sigprocmask(SIG_SETMASK, &mask, nullptr) == 0;
  }
  if (ok) {
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ::execve(program.c_str(), argv, envp);
  }
  const int error = errno;
  (void)!::write(report, &error, sizeof error);
  ::_exit(127);
}

}  // namespace

std::optional<PtyChild> start_on_pty(const std::string& program,
                                     const winsize* size,
                                     void (*setup)(termios&),
                                     const sigset_t& mask, int input_fd,
                                     const std::vector<std::string>& settings) {
  // Made before the fork: the child may only make safe calls.
  const std::vector<std::string> environment = environment_with(settings);
  const std::vector<char*> envp = exec_pointers(environment);
  // Closed by a successful exec; an errno arrives on it otherwise.
  int report_fds[2];
  if (::pipe2(report_fds, O_CLOEXEC) != 0) return std::nullopt;
  UniqueFd report_read(report_fds[0]);
  UniqueFd report_write(report_fds[1]);
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, size);
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    become(program, setup, mask, input_fd, envp.data(), report_write.get());
  }
  PtyChild child{pid, UniqueFd(master)};
  report_write.reset();
  int error = 0;
  ssize_t n;
  while ((n = ::read(report_read.get(), &error, sizeof error)) < 0 &&
         errno == EINTR) {
  }
  if (n == 0) {
    // The program runs. Programs zemuc starts later must not hold its
    // terminal open.
    const int flags = ::fcntl(master, F_GETFD);
    if (flags >= 0 && ::fcntl(master, F_SETFD, flags | FD_CLOEXEC) == 0) {
      return child;
    }
    error = errno;
    ::kill(pid, SIGKILL);
  } else if (n < 0) {
    error = errno;
    ::kill(pid, SIGKILL);
  }
  // The child has ended or ends at once; it is waited for, so that none is
  // left behind.
  (void)wait_for(pid);
  errno = error;
  return std::nullopt;
}

}  // namespace zemuc
