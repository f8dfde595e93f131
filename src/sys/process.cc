#include "sys/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

extern char** environ;

namespace zemuc {
namespace {

bool is_executable_file(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
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

sigset_t ending_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) sigaddset(&set, signal);
  return set;
}

HeldSignals::HeldSignals() {
  const sigset_t held = ending_signals();
  sigprocmask(SIG_BLOCK, &held, &old_);
}

HeldSignals::~HeldSignals() { sigprocmask(SIG_SETMASK, &old_, nullptr); }

bool ending_signal_pending() {
  sigset_t pending;
  sigpending(&pending);
  for (int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) {
    if (sigismember(&pending, signal)) return true;
  }
  return false;
}

Finished run_and_capture(const std::vector<std::string>& argv) {
  Finished finished;
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return finished;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null",
                                   O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

  std::vector<char*> args;
  for (const std::string& arg : argv)
    args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(pipe_fds[1]);
  if (spawned != 0) {
    ::close(pipe_fds[0]);
    return finished;
  }
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(pipe_fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    finished.output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipe_fds[0]);
  int wstatus = 0;
  while (::waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(wstatus)) finished.status = WEXITSTATUS(wstatus);
  if (WIFSIGNALED(wstatus)) {
    finished.signal = WTERMSIG(wstatus);
    finished.status = 128 + finished.signal;
  }
  return finished;
}

}  // namespace zemuc
