#include "sys/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "sys/fd.h"
#include "sys/signals.h"

extern char** environ;

namespace zemuc {
namespace {

using Clock = std::chrono::steady_clock;

bool is_executable_file(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

Ended decode(int wstatus) {
  if (WIFSIGNALED(wstatus)) {
    return {128 + WTERMSIG(wstatus), WTERMSIG(wstatus)};
  }
  return {WEXITSTATUS(wstatus), 0};
}

// The guardian of a captured run reports to its caller through a pipe:
// how the command ended, or why it could not start.
struct GuardReport {
  enum Kind : int { kEnded, kNotStarted } kind;
  int value;  // a wait status, or an errno
};

void send_report(int fd, GuardReport::Kind kind, int value) {
  const GuardReport report{kind, value};
  (void)!::write(fd, &report, sizeof report);  // fits in one atomic write
}

// The signal that tells the guardian to end the command's group: zemuc
// sends it when an ending signal came, and the system when zemuc is gone,
// however it went.
constexpr int kEndCommand = SIGUSR1;

// What the command starts with besides its arguments: its input file and
// folder, as C strings made before the fork (empty: /dev/null and the
// caller's folder).
struct StartPlace {
  const char* input;
  const char* folder;
};

// In the command's process, between fork and exec: a process group of its
// own, its input from the file (or /dev/null), its folder, its output to
// the pipe, nothing held back, default actions.
[[noreturn]] void start_command(char* const* args, char* const* envp,
                                int output_fd, int report_fd,
                                StartPlace place) {
  const int null_fd =
      ::open(*place.input != '\0' ? place.input : "/dev/null", O_RDONLY);
  bool ok = ::setpgid(0, 0) == 0 && null_fd >= 0 &&
            (*place.folder == '\0' || ::chdir(place.folder) == 0) &&
            ::dup2(null_fd, STDIN_FILENO) == STDIN_FILENO &&
            ::dup2(output_fd, STDOUT_FILENO) == STDOUT_FILENO &&
            ::dup2(output_fd, STDERR_FILENO) == STDERR_FILENO &&
            // Should the guardian itself be killed, the command goes too.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL) == 0;
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  const sigset_t defaults = signals_reset_for_children();
  for (int signal = 1; ok && signal < NSIG; ++signal) {
    if (sigismember(&defaults, signal) == 1 || signal == kEndCommand) {
      ok = ::sigaction(signal, &action, nullptr) == 0;
    }
  }
  sigset_t none;
  sigemptyset(&none);
  if (ok && ::sigprocmask(SIG_SETMASK, &none, nullptr) == 0) {
    ::execve(args[0], args, envp);
  }
  send_report(report_fd, GuardReport::kNotStarted, errno);
  ::_exit(127);
}

// Ends the command's whole group and removes what it leaves.
[[noreturn]] void end_command(pid_t command,
                              const std::vector<std::string>& leftovers) {
  ::kill(-command, SIGKILL);
  while (::waitpid(command, nullptr, 0) < 0 && errno == EINTR) {
  }
  for (const std::string& path : leftovers) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  ::_exit(0);
}

// In the guardian, a fork of zemuc: it starts the command in a process
// group of its own (the compiler's own children, cc1 and the linker, are
// in it too) and reports how it ended. Told to (kEndCommand), from zemuc
// or from the system when zemuc is gone, even of SIGKILL, it ends the
// whole group and removes `leftovers`: no compiler outlives zemuc.
[[noreturn]] void guard(char* const* args, char* const* envp, int output_fd,
                        int report_fd, pid_t caller,
                        const std::vector<std::string>& leftovers,
                        StartPlace place) {
  sigset_t watched = ending_signals();  // zemuc's to act on, not its own
  sigaddset(&watched, SIGCHLD);
  sigaddset(&watched, kEndCommand);
  // A group of its own too: a signal to zemuc's whole group (a shell's
  // job control, timeout(1)) must leave it to end the command's.
  if (::sigprocmask(SIG_BLOCK, &watched, nullptr) != 0 ||
      ::setpgid(0, 0) != 0 || ::prctl(PR_SET_PDEATHSIG, kEndCommand) != 0 ||
      ::getppid() != caller) {
    send_report(report_fd, GuardReport::kNotStarted, errno);
    ::_exit(127);
  }
  const pid_t command = ::fork();
  if (command == 0) start_command(args, envp, output_fd, report_fd, place);
  if (command < 0) {
    send_report(report_fd, GuardReport::kNotStarted, errno);
    ::_exit(127);
  }
  // Both set the group, so that it exists before the guardian ends it.
  (void)::setpgid(command, command);
  ::close(output_fd);
  sigset_t awaited;
  sigemptyset(&awaited);
  sigaddset(&awaited, SIGCHLD);
  sigaddset(&awaited, kEndCommand);
  for (;;) {
    int signal = 0;
    if (::sigwait(&awaited, &signal) != 0) continue;
    if (signal == kEndCommand) end_command(command, leftovers);
    int wstatus = 0;
    if (::waitpid(command, &wstatus, WNOHANG) == command) {
      send_report(report_fd, GuardReport::kEnded, wstatus);
      ::_exit(0);
    }
  }
}

// Reads the command's output until its end, or until an ending signal
// that the caller holds back is pending: true when one is, and the
// guardian is then told to end the command. The signal stays pending for the
// caller to act on.
// How reading a command's output ended.
enum class ReadEnd { kOutputEnded, kInterrupted, kTimedOut, kTooMuch };

// Reads the command's output until its end, an ending signal that the
// caller holds back (which stays pending for the caller to act on), the
// deadline, or more output than `limit` (0: none); the guardian is told to
// end the command in the last three cases.
ReadEnd read_output(int output_fd, pid_t guardian,
                    std::optional<Clock::time_point> deadline, std::string& out,
                    int& error, std::size_t limit) {
  const std::optional<SignalFd> signals = SignalFd::open(ending_signals());
  char buffer[64 * 1024];
  for (;;) {
    int wait_ms = -1;
    if (deadline) {
      wait_ms = static_cast<int>(std::max<long long>(
          0,
          std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now())
              .count()));
    }
    pollfd fds[2] = {{output_fd, POLLIN, 0},
                     {signals ? signals->fd() : -1, POLLIN, 0}};
    const int ready = ::poll(fds, 2, wait_ms);
    if (ready < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return ReadEnd::kOutputEnded;
    }
    const bool interrupted = (fds[1].revents & POLLIN) != 0;
    if (interrupted || (ready == 0 && deadline)) {
      ::kill(guardian, kEndCommand);
      return interrupted ? ReadEnd::kInterrupted : ReadEnd::kTimedOut;
    }
    if (fds[0].revents == 0) continue;
    const ssize_t n = ::read(output_fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) error = errno;
      return ReadEnd::kOutputEnded;
    }
    out.append(buffer, static_cast<std::size_t>(n));
    if (limit != 0 && out.size() > limit) {
      ::kill(guardian, kEndCommand);
      return ReadEnd::kTooMuch;
    }
  }
}

// The guardian's last word: how the command ended, or why it did not run.
void take_report(int report_fd, Captured& captured) {
  GuardReport report{};
  ssize_t n;
  while ((n = ::read(report_fd, &report, sizeof report)) < 0 &&
         errno == EINTR) {
  }
  if (n != static_cast<ssize_t>(sizeof report)) {
    captured.error = n < 0 ? errno : ECHILD;
  } else if (report.kind == GuardReport::kEnded) {
    captured.ended = decode(report.value);
  } else {
    captured.error = report.value;
  }
}

}  // namespace

std::optional<std::string> find_program(const std::string& program) {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string::npos) {
    if (is_executable_file(program)) return program;
    return std::nullopt;
  }
  const char* path = std::getenv("PATH");
  std::string_view dirs = path != nullptr ? path : "/usr/bin:/bin";
  for (;;) {
    const std::size_t colon = dirs.find(':');
    // An empty entry is the current folder.
    const std::string_view dir = dirs.substr(0, colon);
    std::string candidate(dir.empty() ? std::string_view(".") : dir);
    candidate.append("/").append(program);
    if (is_executable_file(candidate)) return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    dirs.remove_prefix(colon + 1);
  }
}

std::optional<Ended> wait_for(pid_t child) {
  int wstatus = 0;
  for (;;) {
    const pid_t got = ::waitpid(child, &wstatus, 0);
    if (got == child) return decode(wstatus);
    if (got < 0 && errno != EINTR) return std::nullopt;
  }
}

std::optional<Ended> poll_for(pid_t child, bool& failed) {
  int wstatus = 0;
  pid_t got;
  while ((got = ::waitpid(child, &wstatus, WNOHANG)) < 0 && errno == EINTR) {
  }
  failed = got < 0;
  if (got != child) return std::nullopt;
  return decode(wstatus);
}

std::vector<std::string> environment_with(
    const std::vector<std::string>& settings) {
  const auto name_of = [](std::string_view entry) {
    return entry.substr(0, entry.find('='));
  };
  std::vector<std::string> out;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view name = name_of(*entry);
    bool replaced = false;
    for (const std::string& setting : settings) {
      replaced = replaced || name_of(setting) == name;
    }
    if (!replaced) out.emplace_back(*entry);
  }
  for (const std::string& setting : settings) {
    if (setting.find('=') != std::string::npos) out.push_back(setting);
  }
  return out;
}

std::vector<char*> exec_pointers(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (const std::string& s : strings) {
    pointers.push_back(const_cast<char*>(s.c_str()));
  }
  pointers.push_back(nullptr);
  return pointers;
}

StartedCommand start_captured(const std::vector<std::string>& argv,
                              const std::vector<std::string>& settings,
                              const std::vector<std::string>& leftovers,
                              const CaptureSetup& where) {
  StartedCommand started;
  int output_fds[2];
  int report_fds[2];
  if (::pipe2(output_fds, O_CLOEXEC) != 0) {
    started.error = errno;
    return started;
  }
  started.output.reset(output_fds[0]);
  UniqueFd writing(output_fds[1]);
  if (::pipe2(report_fds, O_CLOEXEC) != 0) {
    started.error = errno;
    return started;
  }
  started.report.reset(report_fds[0]);
  UniqueFd report_write(report_fds[1]);
  // Made before the fork: the children only start and wait.
  const std::vector<char*> args = exec_pointers(argv);
  const std::vector<std::string> environment = environment_with(settings);
  const std::vector<char*> envp = exec_pointers(environment);
  const pid_t caller = ::getpid();
  const pid_t guardian = ::fork();
  if (guardian < 0) {
    started.error = errno;
    return started;
  }
  if (guardian == 0) {
    guard(args.data(), envp.data(), writing.get(), report_write.get(), caller,
          leftovers, {where.input.c_str(), where.folder.c_str()});
  }
  started.guardian = guardian;
  return started;
}

Captured finish_captured(StartedCommand& started, std::string output,
                         int read_error) {
  Captured captured;
  captured.output = std::move(output);
  const std::optional<Ended> guardian_ended = wait_for(started.guardian);
  started.guardian = -1;
  if (!guardian_ended) {
    captured.error = errno;
    return captured;
  }
  take_report(started.report.get(), captured);
  if (captured.ended && read_error != 0) {
    // The output was lost: the run tells nothing reliable.
    captured.ended.reset();
    captured.error = read_error;
  }
  return captured;
}

bool stop_captured(StartedCommand& started) {
  if (started.guardian < 0) return true;
  const bool told = ::kill(started.guardian, kEndCommand) == 0;
  const bool waited = wait_for(started.guardian).has_value();
  started.guardian = -1;
  return told && waited;
}

Captured run_and_capture(const std::vector<std::string>& argv,
                         const std::vector<std::string>& settings,
                         const std::vector<std::string>& leftovers,
                         std::optional<std::chrono::milliseconds> limit,
                         const CaptureSetup& where) {
  StartedCommand started = start_captured(argv, settings, leftovers, where);
  if (started.guardian < 0) {
    Captured captured;
    captured.error = started.error;
    return captured;
  }
  std::optional<Clock::time_point> deadline;
  if (limit) deadline = Clock::now() + *limit;
  std::string output;
  int read_error = 0;
  const ReadEnd end =
      read_output(started.output.get(), started.guardian, deadline, output,
                  read_error, where.output_limit);
  if (end == ReadEnd::kOutputEnded) {
    return finish_captured(started, std::move(output), read_error);
  }
  Captured captured;
  captured.output = std::move(output);
  captured.interrupted = end == ReadEnd::kInterrupted;
  if (end == ReadEnd::kTimedOut) captured.error = ETIMEDOUT;
  if (end == ReadEnd::kTooMuch) captured.error = EFBIG;
  (void)wait_for(started.guardian);
  return captured;
}

}  // namespace zemuc
