#include "lsp/lsp_client.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "support/run.h"
#include "sys/fd.h"
#include "sys/process.h"

namespace zemuc::testing {
namespace {}  // namespace

std::string framed(Json members) {
  members["jsonrpc"] = "2.0";
  return lsp::frame(members.dump());
}

LspClient::LspClient(const std::vector<std::string>& environment,
                     Compiler compiler) {
  std::vector<std::string> args = {"-u",          "LANGUAGE", "-u",
                                   "LC_MESSAGES", "-u",       "LANG",
                                   "-u",          "LC_ALL",   "LC_ALL=C.UTF-8"};
  args.push_back("XDG_CACHE_HOME=" + cache_.path().string());
  if (compiler == Compiler::kNone) {
    args.insert(args.begin(), {"-u", "CC"});
    args.push_back("PATH=" + empty_path_.path().string());
  }
  args.insert(args.end(), environment.begin(), environment.end());
  args.push_back(ZEMUC_PATH);
  args.push_back("lsp");
  // The server's log goes to the test's own standard error.
  const StartedProgram server =
      start_program("/usr/bin/env", args, ".", /*capture_err=*/false);
  pid_ = server.pid;
  to_server_ = server.in;
  from_server_ = server.out;
}

LspClient::~LspClient() {
  if (to_server_ >= 0) close(to_server_);
  if (from_server_ >= 0) close(from_server_);
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

void LspClient::send_raw(std::string_view bytes) {
  // A server that ended reads nothing more; the test sees that in what it
  // gets back, not as a signal.
  signal(SIGPIPE, SIG_IGN);
  write_all(to_server_, bytes);
}

std::optional<Json> LspClient::read_one(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (std::optional<lsp::Frame> frame = reader_.next()) {
      if (frame->malformed)
        throw std::runtime_error("server sent " + frame->body);
      return Json::parse(frame->body);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd entry{from_server_, POLLIN, 0};
    if (poll(&entry, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[65536];
    const ssize_t n = read(from_server_, buffer, sizeof buffer);
    if (n <= 0) return std::nullopt;
    reader_.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
}

std::optional<Json> LspClient::take(
    const std::function<bool(const Json&)>& wanted,
    std::chrono::milliseconds timeout) {
  for (auto it = kept_.begin(); it != kept_.end(); ++it) {
    if (wanted(*it)) {
      Json message = std::move(*it);
      kept_.erase(it);
      return message;
    }
  }
  for (;;) {
    std::optional<Json> message = read_one(timeout);
    if (!message || wanted(*message)) return message;
    kept_.push_back(std::move(*message));
  }
}

void LspClient::close_input() {
  if (to_server_ >= 0) close(to_server_);
  to_server_ = -1;
}

int LspClient::wait(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (bool failed = false;;) {
    if (const std::optional<Ended> ended = poll_for(pid_, failed)) {
      pid_ = -1;
      return ended->signal == 0 ? ended->status : -1;
    }
    if (failed || std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(10ms);
  }
}

}  // namespace zemuc::testing
