#include "server/background_build.h"

#include <unistd.h>

#include <cerrno>

#include "toolchain/build.h"

namespace zemuc::lsp {

BackgroundBuild::Compiler BackgroundBuild::compiler() {
  if (!looked_) {
    looked_ = true;
    // A search that cannot start finds nothing: the check's findings alone.
    if (!search_.start()) return Compiler::kNone;
  }
  if (std::optional<ToolchainSearch::Found> found = search_.advance()) {
    toolchain_ = std::move(found->toolchain);
  }
  if (toolchain_) return Compiler::kFound;
  return search_.running() ? Compiler::kLooking : Compiler::kNone;
}

bool BackgroundBuild::start(BuildKey key, BuildInput input, Language language) {
  stop();
  if (compiler() != Compiler::kFound) return false;
  folder_.reset();
  if (std::optional<ScratchFolder> made = ScratchFolder::make()) {
    folder_.emplace(std::move(*made));
  } else {
    return false;
  }
  const std::string copy_path = folder_->path() + "/program.c";
  if (!write_whole_file(copy_path, input.copy.text)) {
    folder_.reset();
    return false;
  }
  const toolchain::CompileCommand command =
      toolchain::compile_command(*toolchain_, /*checked=*/false, copy_path,
                                 folder_->path() + "/program", folder_->path());
  command_ = start_captured(command.argv, command.settings, {folder_->path()});
  if (command_.guardian < 0) {
    folder_.reset();
    return false;
  }
  key_ = std::move(key);
  input_ = std::move(input);
  language_ = language;
  output_.clear();
  read_error_ = 0;
  deadline_ = Clock::now() + kLongest;
  return true;
}

int BackgroundBuild::fd() const {
  if (!key_) return search_.fd();
  return command_.output ? command_.output.get() : command_.report.get();
}

int BackgroundBuild::ms_left(Clock::time_point now) const {
  if (!key_) return -1;
  if (now >= deadline_) return 0;
  return static_cast<int>(
      std::chrono::ceil<std::chrono::milliseconds>(deadline_ - now).count());
}

std::optional<BackgroundBuild::Done> BackgroundBuild::advance(
    Clock::time_point now) {
  if (!key_) return std::nullopt;
  if (now >= deadline_) {
    Done done{*key_, {}};
    stop();
    return done;
  }
  if (command_.output && readable_now(command_.output.get())) {
    char buffer[64 * 1024];
    const ssize_t n = ::read(command_.output.get(), buffer, sizeof buffer);
    if (n > 0) {
      output_.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
      if (n < 0) read_error_ = errno;
      command_.output.reset();
    }
  }
  // The guardian reports once the command has ended.
  if (command_.output || !readable_now(command_.report.get()))
    return std::nullopt;
  return finish();
}

std::optional<BackgroundBuild::Done> BackgroundBuild::finish() {
  const Captured captured =
      finish_captured(command_, std::move(output_), read_error_);
  Done done{*key_, {}};
  // A compiler that could not run, or was ended by a signal, told nothing
  // of the program.
  if (captured.ended && captured.ended->signal == 0) {
    done.findings = compiler_findings(*input_, captured.output,
                                      captured.ended->status != 0, language_);
  }
  key_.reset();
  input_.reset();
  folder_.reset();
  command_ = StartedCommand{};
  return done;
}

void BackgroundBuild::stop() {
  if (!key_) return;
  // The guardian ends the compiler's group and removes the folder; a
  // guardian already gone has done so.
  (void)stop_captured(command_);
  key_.reset();
  input_.reset();
  folder_.reset();
  command_ = StartedCommand{};
  output_.clear();
}

}  // namespace zemuc::lsp
