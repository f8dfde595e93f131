#include "compiler/build.h"

#include <signal.h>

#include <cerrno>
#include <cstring>

#include "compiler/explain.h"
#include "sys/disk.h"
#include "sys/process.h"
#include "sys/signals.h"

namespace zemuc::compiler {
namespace {

// The compiler speaks English with plain quotes, which the messages are
// read by.
const std::vector<std::string>& compiler_settings() {
  static const std::vector<std::string> kSettings = {"LC_ALL=C", "LANGUAGE",
                                                     "GCC_COLORS"};
  return kSettings;
}

std::string first_line(std::string_view text) {
  while (!text.empty() && (text.front() == '\n' || text.front() == ' ')) {
    text.remove_prefix(1);
  }
  std::string_view line = text.substr(0, text.find('\n'));
  constexpr std::size_t kLongest = 160;
  if (line.size() > kLongest) line = line.substr(0, kLongest);
  return std::string(line);
}

class Builder {
 public:
  explicit Builder(const BuildRequest& request) : request_(request) {}

  Built build(bool checked) {
    Built built;
    built.checked = checked;
    CompilerCopy copy = make_compiler_copy(request_.program, checked);
    built.map = std::move(copy.map);
    const std::string copy_path = request_.scratch_folder + "/program.c";
    if (!write_whole_file(copy_path, copy.text)) {
      built.trouble = cannot_write(copy_path);
      return built;
    }
    std::optional<ScratchFile> scratch =
        ScratchFile::beside(request_.executable);
    if (!scratch) {
      built.trouble = cannot_write(request_.executable);
      return built;
    }
    const Toolchain& toolchain = request_.toolchain;
    std::vector<std::string> argv = toolchain.compiler;
    for (std::string& flag : compile_flags(toolchain, checked)) {
      argv.push_back(std::move(flag));
    }
    argv.insert(argv.end(),
                {copy_path, toolchain.runtime, "-o", scratch->path()});
    for (std::string& flag : link_flags()) argv.push_back(std::move(flag));
    const Captured captured = run_and_capture(argv, compiler_settings());
    if (ending_signal_pending() ||
        (captured.ended && captured.ended->signal == SIGINT)) {
      built.status = BuildStatus::kInterrupted;
      return built;
    }
    if (!captured.ended) {
      built.trouble =
          Trouble{{"{} を動かせません: {}", "cannot run {}: {}"},
                  {toolchain.compiler[0], std::strerror(captured.error)}};
      return built;
    }
    const bool failed = captured.ended->status != 0;
    const Explanation explanation =
        explain_build(request_.program, built.map, captured.output, failed,
                      request_.language, request_.terminal);
    if (failed) {
      // Nothing of the program to blame: the checks are what failed.
      if (checked && !explanation.source_errors) {
        Built plain = build(false);
        if (plain.status == BuildStatus::kBuilt) {
          plain.unchecked_because = Trouble{
              {"実行時の検査なしで組み立てました: {} "
               "は検査付きのプログラムを作れません (サニタイザーの実行時ライブ"
               "ラリーが入っていないのかもしれません): {}",
               "built without run-time checks: {} cannot build a checked "
               "program here (its sanitizer run-time may be missing): {}"},
              {toolchain.compiler[0], first_line(captured.output)}};
        }
        return plain;
      }
      built.said = explanation.shown;
      built.trouble =
          Trouble{{"{} を組み立てられません ({} が状態 {} で終わりました)",
                   "{} does not build ({} ended with status {})"},
                  {request_.program.source_name(), toolchain.compiler[0],
                   std::to_string(captured.ended->status)}};
      return built;
    }
    built.said = explanation.shown;
    built.values_missing = explanation.values_missing;
    if (!scratch->make_executable()) {
      built.trouble = cannot_write(request_.executable);
      return built;
    }
    if (checked) {
      if (std::optional<std::string> why = cannot_start(scratch->path())) {
        scratch.reset();
        Built plain = build(false);
        if (plain.status != BuildStatus::kBuilt) return plain;
        plain.unchecked_because = Trouble{
            {"実行時の検査なしで組み立てました: 検査付きのプログラムがここでは"
             "動き出せません: {}",
             "built without run-time checks: the checked program cannot "
             "start here: {}"},
            {*why}};
        return plain;
      }
    }
    if (!scratch->take_name(request_.executable)) {
      built.trouble = cannot_write(request_.executable);
      return built;
    }
    built.status = BuildStatus::kBuilt;
    return built;
  }

 private:
  static Trouble cannot_write(const std::string& path) {
    return Trouble{{"{} を書けません: {}", "cannot write {}: {}"},
                   {path, std::strerror(errno)}};
  }

  // A checked program maps memory for its sanitizers before it runs: a
  // limit on memory, or a system without room for that, stops it at once.
  // Started with the probe set, it ends as soon as it could run.
  static std::optional<std::string> cannot_start(const std::string& program) {
    const Captured probe = run_and_capture(
        {program},
        {std::string(kProbeVariable) + "=1", "ASAN_OPTIONS", "UBSAN_OPTIONS"});
    if (!probe.ended) return std::string(std::strerror(probe.error));
    if (probe.ended->status == 0) return std::nullopt;
    std::string why = first_line(probe.output);
    if (why.empty()) why = "status " + std::to_string(probe.ended->status);
    return why;
  }

  const BuildRequest& request_;
};

}  // namespace

Built build_program(const BuildRequest& request) {
  return Builder(request).build(request.checked);
}

}  // namespace zemuc::compiler
