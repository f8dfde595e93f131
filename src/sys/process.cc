#include "sys/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "sys/fd.h"
#include "sys/signals.h"

extern char** environ;

namespace zemuc {
namespace {

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

// What the child of run_and_capture starts with: the pipe for its output,
// /dev/null for its input, nothing held back, default actions.
class SpawnSetup {
 public:
  SpawnSetup()
      : actions_ok_(posix_spawn_file_actions_init(&actions_) == 0),
        attributes_ok_(posix_spawnattr_init(&attributes_) == 0) {}
  ~SpawnSetup() {
    if (actions_ok_) posix_spawn_file_actions_destroy(&actions_);
    if (attributes_ok_) posix_spawnattr_destroy(&attributes_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  // False when the setup cannot be made (no memory).
  bool prepare(int output_fd) {
    sigset_t none;
    sigemptyset(&none);
    const sigset_t defaults = signals_reset_for_children();
    return actions_ok_ && attributes_ok_ &&
           posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO,
                                            "/dev/null", O_RDONLY, 0) == 0 &&
           posix_spawn_file_actions_adddup2(&actions_, output_fd,
                                            STDOUT_FILENO) == 0 &&
           posix_spawn_file_actions_adddup2(&actions_, output_fd,
                                            STDERR_FILENO) == 0 &&
           posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
           posix_spawnattr_setsigdefault(&attributes_, &defaults) == 0 &&
           posix_spawnattr_setflags(
               &attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) ==
               0;
  }
  const posix_spawn_file_actions_t* actions() const { return &actions_; }
  const posix_spawnattr_t* attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
  bool actions_ok_;
  bool attributes_ok_;
};

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

Captured run_and_capture(const std::vector<std::string>& argv,
                         const std::vector<std::string>& settings) {
  Captured captured;
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) {
    captured.error = errno;
    return captured;
  }
  UniqueFd reading(pipe_fds[0]);
  UniqueFd writing(pipe_fds[1]);
  SpawnSetup setup;
  if (!setup.prepare(writing.get())) {
    captured.error = ENOMEM;
    return captured;
  }
  const std::vector<char*> args = exec_pointers(argv);
  const std::vector<std::string> environment = environment_with(settings);
  const std::vector<char*> envp = exec_pointers(environment);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, args[0], setup.actions(),
                                  setup.attributes(), args.data(), envp.data());
  writing.reset();
  if (spawned != 0) {
    captured.error = spawned;
    return captured;
  }
  const bool read = read_all(reading.get(), captured.output);
  const int read_error = errno;
  captured.ended = wait_for(pid);
  if (!captured.ended) {
    captured.error = errno;
  } else if (!read) {
    // The output was lost: the run tells nothing reliable.
    captured.ended.reset();
    captured.error = read_error;
  }
  return captured;
}

}  // namespace zemuc
