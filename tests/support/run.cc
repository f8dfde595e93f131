#include "support/run.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zemuc::testing {

ScratchDir::ScratchDir() {
  std::string templ =
      (std::filesystem::temp_directory_path() / "zemuc-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) {
    throw std::runtime_error("cannot make a scratch folder");
  }
  path_ = templ;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ScratchDir::write(const std::string& name,
                                        std::string_view bytes) const {
  const std::filesystem::path file = path_ / name;
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

std::string ScratchDir::read(const std::string& name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool ScratchDir::exists(const std::string& name) const {
  return std::filesystem::exists(path_ / name);
}

namespace {}  // namespace

StartedProgram start_program(const std::string& program,
                             const std::vector<std::string>& args,
                             const std::filesystem::path& cwd,
                             bool capture_err) {
  // A program that exits before reading all its input must not take the
  // test down with it.
  std::signal(SIGPIPE, SIG_IGN);
  int in_pipe[2], out_pipe[2], err_pipe[2] = {-1, -1};
  if (pipe2(in_pipe, O_CLOEXEC) != 0 || pipe2(out_pipe, O_CLOEXEC) != 0 ||
      (capture_err && pipe2(err_pipe, O_CLOEXEC) != 0)) {
    throw std::runtime_error("pipe failed");
  }
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    // The pipes close on exec; their copies on 0, 1 and 2 stay.
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    if (capture_err) dup2(err_pipe[1], 2);
    if (chdir(cwd.c_str()) != 0) _exit(127);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
      argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  if (capture_err) close(err_pipe[1]);
  return {pid, in_pipe[1], out_pipe[0], err_pipe[0]};
}

int wait_for_exit(pid_t pid) {
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

namespace {

// Feeds `input` and drains both outputs together, so that neither side
// blocks on a full pipe; then waits for the child to end.
void finish(StartedProgram& child, std::string_view input, RunResult& result) {
  std::size_t fed = 0;
  int in_fd = child.in;
  fcntl(in_fd, F_SETFL, O_NONBLOCK);
  if (input.empty()) {
    close(in_fd);
    in_fd = -1;
  }
  bool out_open = true, err_open = true;
  while (out_open || err_open) {
    pollfd fds[3] = {{out_open ? child.out : -1, POLLIN, 0},
                     {err_open ? child.err : -1, POLLIN, 0},
                     {in_fd, POLLOUT, 0}};
    if (poll(fds, 3, -1) < 0) break;
    char buffer[65536];
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) continue;
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(fds[i].fd);
        (i == 0 ? out_open : err_open) = false;
      } else {
        (i == 0 ? result.out : result.err).append(buffer, n);
      }
    }
    if (in_fd >= 0 && fds[2].revents != 0) {
      const ssize_t n = ::write(in_fd, input.data() + fed, input.size() - fed);
      if (n > 0) fed += static_cast<std::size_t>(n);
      if (n < 0 || fed == input.size()) {
        close(in_fd);
        in_fd = -1;
      }
    }
  }
  if (in_fd >= 0) close(in_fd);
  result.status = wait_for_exit(child.pid);
}

// Reads standard output (and standard error) until standard output ends
// with `prompt` or `timeout_ms` has passed; true when the prompt came.
bool await_prompt(const StartedProgram& child, std::string_view prompt,
                  int timeout_ms, RunResult& result) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!std::string_view(result.out).ends_with(prompt)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd fds[2] = {{child.out, POLLIN, 0}, {child.err, POLLIN, 0}};
    if (poll(fds, 2, static_cast<int>(left.count())) <= 0) return false;
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) continue;
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      // An early end of output is left for finish() to see.
      if (n <= 0) return false;
      (i == 0 ? result.out : result.err).append(buffer, n);
    }
  }
  return true;
}

}  // namespace

RunResult run_program(const std::string& program,
                      const std::vector<std::string>& args,
                      std::string_view input,
                      const std::filesystem::path& cwd) {
  StartedProgram child = start_program(program, args, cwd);
  RunResult result;
  finish(child, input, result);
  return result;
}

RunResult run_translator(const std::vector<std::string>& args,
                         const std::filesystem::path& cwd,
                         std::string_view input) {
  return run_program(ZEMUCFILTER_PATH, args, input, cwd);
}

PromptedRun run_translator_after_prompt(const std::vector<std::string>& args,
                                        const std::filesystem::path& cwd,
                                        std::string_view prompt,
                                        std::string_view input) {
  StartedProgram child = start_program(ZEMUCFILTER_PATH, args, cwd);
  PromptedRun run;
  run.prompt_before_input = await_prompt(child, prompt, 5000, run.result);
  finish(child, input, run.result);
  return run;
}

}  // namespace zemuc::testing
