#include "server/toolchain_search.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <exception>
#include <variant>
#include <vector>

#include "sys/fd.h"
#include "sys/process.h"

namespace zemuc::lsp {
namespace {

// A field of the text: its length in decimal, a colon, its bytes.
void add_field(std::string& text, std::string_view field) {
  text += std::to_string(field.size());
  text += ':';
  text += field;
}

// The next field of `text`, taken off it; nothing when there is none whole.
std::optional<std::string_view> take_field(std::string_view& text) {
  std::size_t size = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), size);
  if (error != std::errc() || end == text.data() + text.size() || *end != ':') {
    return std::nullopt;
  }
  const std::size_t start = static_cast<std::size_t>(end - text.data()) + 1;
  if (size > text.size() - start) return std::nullopt;
  const std::string_view field = text.substr(start, size);
  text.remove_prefix(start + size);
  return field;
}

std::optional<int> take_number(std::string_view& text) {
  const std::optional<std::string_view> field = take_field(text);
  if (!field) return std::nullopt;
  int number = 0;
  const auto [end, error] =
      std::from_chars(field->data(), field->data() + field->size(), number);
  if (error != std::errc() || end != field->data() + field->size()) {
    return std::nullopt;
  }
  return number;
}

// A count of fields, then the fields.
void add_list(std::string& text, const std::vector<std::string>& list) {
  add_field(text, std::to_string(list.size()));
  for (const std::string& item : list) add_field(text, item);
}

std::optional<std::vector<std::string>> take_list(std::string_view& text) {
  const std::optional<int> count = take_number(text);
  if (!count || *count < 0) return std::nullopt;
  std::vector<std::string> list;
  for (int i = 0; i < *count; ++i) {
    const std::optional<std::string_view> item = take_field(text);
    if (!item) return std::nullopt;
    list.emplace_back(*item);
  }
  return list;
}

// In the child: never the server's input or output, and gone with the
// server; writes what it found (nothing for no toolchain) and ends, 0
// when all of it was written.
[[noreturn]] void search_and_tell(int out_fd, pid_t server) {
  const int null_fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null_fd < 0 || ::dup2(null_fd, STDIN_FILENO) != STDIN_FILENO ||
      ::dup2(null_fd, STDOUT_FILENO) != STDOUT_FILENO ||
      ::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != server) {
    ::_exit(127);
  }
  try {
    const auto found = toolchain::find_toolchain();
    const auto* toolchain = std::get_if<toolchain::Toolchain>(&found);
    const bool told =
        toolchain == nullptr || write_all(out_fd, toolchain_text(*toolchain));
    ::_exit(told ? 0 : 1);
  } catch (const std::exception&) {
    ::_exit(1);
  }
}

}  // namespace

std::string toolchain_text(const toolchain::Toolchain& toolchain) {
  std::string text;
  add_list(text, toolchain.compiler);
  add_field(text, toolchain.runtime);
  add_field(text, std::to_string(static_cast<int>(toolchain.family)));
  add_field(text, std::to_string(toolchain.major_version));
  add_field(text, toolchain.version_text);
  add_list(text, toolchain.abilities.refused);
  add_field(text, toolchain.abilities.checks ? "1" : "0");
  return text;
}

std::optional<toolchain::Toolchain> toolchain_from(std::string_view text) {
  toolchain::Toolchain toolchain;
  auto compiler = take_list(text);
  const auto runtime = take_field(text);
  const auto family = take_number(text);
  const auto major = take_number(text);
  const auto version = take_field(text);
  auto refused = take_list(text);
  const auto checks = take_field(text);
  if (!compiler || compiler->empty() || !runtime || !family ||
      *family < static_cast<int>(toolchain::Family::kGcc) ||
      *family > static_cast<int>(toolchain::Family::kOther) || !major ||
      !version || !refused || !checks || (*checks != "0" && *checks != "1") ||
      !text.empty()) {
    return std::nullopt;
  }
  toolchain.compiler = std::move(*compiler);
  toolchain.runtime = std::string(*runtime);
  toolchain.family = static_cast<toolchain::Family>(*family);
  toolchain.major_version = *major;
  toolchain.version_text = std::string(*version);
  toolchain.abilities.refused = std::move(*refused);
  toolchain.abilities.checks = *checks == "1";
  return toolchain;
}

bool ToolchainSearch::start() {
  stop();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  UniqueFd reading(fds[0]);
  UniqueFd writing(fds[1]);
  const pid_t server = ::getpid();
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) search_and_tell(writing.get(), server);
  child_ = child;
  from_child_ = std::move(reading);
  text_.clear();
  return true;
}

std::optional<ToolchainSearch::Found> ToolchainSearch::advance() {
  if (!running()) return std::nullopt;
  const ReadNow got = read_ready(from_child_.get(), text_);
  if (got == ReadNow::kNothing || got == ReadNow::kRead) return std::nullopt;
  return finish(got == ReadNow::kFailed);
}

// The child has closed its end: it has written all it will, and ends.
std::optional<ToolchainSearch::Found> ToolchainSearch::finish(
    bool read_failed) {
  from_child_.reset();
  const std::optional<Ended> ended = wait_for(child_);
  child_ = -1;
  Found found;
  if (!read_failed && ended && ended->signal == 0 && ended->status == 0) {
    if (!text_.empty()) found.toolchain = toolchain_from(text_);
  }
  text_.clear();
  return found;
}

void ToolchainSearch::stop() {
  if (!running()) return;
  // The guardians of its questions end the compiler with it. A child that
  // cannot be signalled is gone already, and not to be waited for.
  if (::kill(child_, SIGKILL) == 0) (void)wait_for(child_);
  child_ = -1;
  from_child_.reset();
  text_.clear();
}

}  // namespace zemuc::lsp
