#include "server/background_build.h"

#include <cerrno>

#include "sys/fd.h"
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

zemuc::Frame BackgroundBuild::frame() const {
  return toolchain::first_frame(*toolchain_, /*checked=*/true);
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
  const toolchain::CompileCommand command = toolchain::compile_command(
      *toolchain_, input.frame == zemuc::Frame::kChecked, copy_path,
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
  built_output_.reset();
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
    // Ended unheard; a second look that outlasts the time adds nothing to
    // what the build said.
    (void)stop_captured(command_);
    return finished(built_output_, false);
  }
  if (command_.output) {
    const ReadNow got = read_ready(command_.output.get(), output_);
    if (got == ReadNow::kFailed) read_error_ = errno;
    if (got == ReadNow::kEnded || got == ReadNow::kFailed) {
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
  command_ = StartedCommand{};
  output_.clear();
  read_error_ = 0;
  // A compiler that could not run, or was ended by a signal, told nothing
  // of the program; a second look that did, nothing more than the build.
  const bool told = captured.ended && captured.ended->signal == 0;
  if (built_output_) {
    std::string output = std::move(*built_output_);
    if (told && captured.ended->status == 0) {
      output += toolchain::loop_look_warnings(*toolchain_, captured.output);
    }
    return finished(output, false);
  }
  if (!told) return finished(std::nullopt, false);
  const bool failed = captured.ended->status != 0;
  if (!failed && start_look(captured.output)) return std::nullopt;
  return finished(captured.output, failed);
}

// The second look after a build that succeeded, as zemuc run takes it;
// false where the compiler has none or it cannot start.
bool BackgroundBuild::start_look(const std::string& built_output) {
  const std::optional<toolchain::CompileCommand> look =
      toolchain::loop_look_command(*toolchain_, folder_->path() + "/program.c",
                                   folder_->path());
  if (!look) return false;
  command_ = start_captured(look->argv, look->settings, {folder_->path()});
  if (command_.guardian < 0) return false;
  built_output_ = built_output;
  return true;
}

BackgroundBuild::Done BackgroundBuild::finished(
    const std::optional<std::string>& output, bool failed) {
  Done done{*key_, {}};
  if (output) {
    done.findings = compiler_findings(*input_, *output, failed, language_);
  }
  key_.reset();
  input_.reset();
  folder_.reset();
  command_ = StartedCommand{};
  built_output_.reset();
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
  built_output_.reset();
}

}  // namespace zemuc::lsp
