#include "toolchain/build.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "explain/explain.h"
#include "sys/disk.h"
#include "sys/fd.h"
#include "sys/process.h"
#include "sys/signals.h"

namespace zemuc::toolchain {
namespace {

// The compiler speaks English with plain quotes, which the messages are
// read by, and keeps its own scratch files in the build's folder, which
// goes however the build ends.
std::vector<std::string> compiler_settings(const std::string& folder) {
  return {"LC_ALL=C", "LANGUAGE", "GCC_COLORS", "TMPDIR=" + folder};
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

// The first line of a compiler's output that speaks of the sanitizers:
// the words of a compiler that has not their run-time ("cannot find
// -lasan", "libclang_rt.asan ... No such file") or does not know them.
// Empty when none does: the build failed for another reason (a full disk,
// a file-size limit), which a build without checks would not mend.
std::string sanitizer_trouble(std::string_view output) {
  while (!output.empty()) {
    const std::string_view line = output.substr(0, output.find('\n'));
    output.remove_prefix(std::min(output.size(), line.size() + 1));
    std::string lower(line);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
      return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    for (const std::string_view word : {"sanitize", "asan", "ubsan"}) {
      if (lower.find(word) != std::string::npos) return first_line(line);
    }
  }
  return {};
}

// Whether a file holds a program the system can start: a compiler told
// to write one may write nothing (`true`, `gcc -fsyntax-only`).
bool holds_program(const std::string& path) {
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  char bytes[4];
  ssize_t n = -1;
  while (fd && (n = ::read(fd.get(), bytes, sizeof bytes)) < 0 &&
         errno == EINTR) {
  }
  if (n <= 0) return false;
  const std::string_view head(bytes, static_cast<std::size_t>(n));
  constexpr std::string_view kMagics[] = {
      "\x7f"
      "ELF",
      "\xcf\xfa\xed\xfe", "\xce\xfa\xed\xfe", "\xca\xfe\xba\xbe", "#!"};
  for (const std::string_view magic : kMagics) {
    if (head.starts_with(magic)) return true;
  }
  return false;
}

// A variable used before it gets a value inside a loop is seen by a second
// look at the copy, each family's own. gcc sees it only with its
// optimiser, which a build for learners does not run: the copy is compiled
// again, optimised and writing nothing. clang's warning for it
// (-Wconditional-uninitialized) does not know that a くり返し runs at least
// once, and would warn of every value set inside one and used after: its
// analyser follows the program's paths instead, saying what it finds as
// text, and a loop run more times than it follows is widened rather than
// left, so that what comes after it is seen too. It starts from main
// alone, which holds every learner's line: the frame's functions are
// followed where main calls them, and no time goes to them by themselves.
// The options come after the build's own, before "-o /dev/null COPY".
struct LoopLook {
  Family family;
  std::array<std::string_view, 9> options;
  // Words of a finding to tell, in its warning or in one of its notes.
  std::string_view marks;
};
constexpr LoopLook kLoopLooks[] = {
    {Family::kGcc, {"-O1", "-S"}, "uninitialized"},
    {Family::kClang,
     {"--analyze", "-Xanalyzer", "-analyzer-output=text", "-Xanalyzer",
      "-analyzer-config", "-Xanalyzer", "widen-loops=true", "-Xanalyzer",
      "-analyze-function=main"},
     " declared without an initial value"},
};

const LoopLook* look_of(Family family) {
  for (const LoopLook& look : kLoopLooks) {
    if (look.family == family) return &look;
  }
  return nullptr;
}

// The analyser's notes of a path that enters a loop, and that leaves one,
// each at the loop's place. A path that leaves a loop it never entered
// takes the loop to run no time, as a くり返し of a count typed in may; a
// value set only inside it is then used unset after it, which is no
// mistake of the learner's to be told (gcc's optimiser does not warn of it
// either).
constexpr std::string_view kEntersLoop = ": note: Loop condition is true.";
constexpr std::string_view kLeavesLoop = ": note: Loop condition is false.";

// A warning of a second look and the notes after it, as the compiler wrote
// them; empty before its warning.
class Finding {
 public:
  void take(std::string_view line, std::string_view marks) {
    text_.append(line).push_back('\n');
    marked_ = marked_ || line.find(marks) != std::string_view::npos;
    const std::string_view place = line.substr(0, line.find(": note: "));
    if (line.find(kEntersLoop) != std::string_view::npos) {
      entered_.emplace_back(place);
    } else if (line.find(kLeavesLoop) != std::string_view::npos &&
               std::find(entered_.begin(), entered_.end(), place) ==
                   entered_.end()) {
      skips_loop_ = true;
    }
  }
  bool empty() const { return text_.empty(); }
  bool to_tell() const { return marked_ && !skips_loop_; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  bool marked_ = false;
  bool skips_loop_ = false;
  std::vector<std::string> entered_;  // the places of the loops entered
};

// The findings of a second look's output to tell: those that hold `marks`
// and whose path leaves no loop it did not enter.
std::string findings_to_tell(std::string_view output, std::string_view marks) {
  std::string kept;
  Finding finding;
  while (!output.empty()) {
    const std::string_view line = output.substr(0, output.find('\n'));
    output.remove_prefix(std::min(output.size(), line.size() + 1));
    if (line.find(": note: ") == std::string_view::npos) {
      if (finding.to_tell()) kept += finding.text();
      finding = Finding();
      if (line.find(": warning: ") == std::string_view::npos) continue;
    } else if (finding.empty()) {
      continue;
    }
    finding.take(line, marks);
  }
  if (finding.to_tell()) kept += finding.text();
  return kept;
}

constexpr Text kCannotWrite = {"{} を書けません: {}", "cannot write {}: {}"};
constexpr Text kCannotRun = {"{} を動かせません: {}", "cannot run {}: {}"};
constexpr Text kNoCheckedBuild = {
    "実行時の検査を減らして組み立てました: {} "
    "は検査付きのプログラムを作れません (サニタイザーの実行時ライブ"
    "ラリーが入っていないのかもしれません): {}",
    "built with fewer run-time checks: {} cannot build a checked "
    "program here (its sanitizer run-time may be missing): {}"};
constexpr Text kNoChecksHere = {
    "実行時の検査を減らして組み立てました: {} "
    "は検査付きのプログラムを作れません (サニタイザーがないか、その実行時"
    "ライブラリーが入っていません)",
    "built with fewer run-time checks: {} cannot build a checked program "
    "here (it has no sanitizers, or their run-time is missing)"};
constexpr Text kWroteNoProgram = {
    "{} はプログラムを書きませんでした (状態 0 で終わりましたが、{} "
    "は動かせるプログラムではありません)",
    "{} wrote no program (it ended with status 0, but {} is no "
    "program that can run)"};
constexpr Text kCheckedCannotStart = {
    "実行時の検査を減らして組み立てました: 検査付きのプログラムがここでは"
    "動き出せません: {}",
    "built with fewer run-time checks: the checked program cannot "
    "start here: {}"};

class Builder {
 public:
  explicit Builder(const BuildRequest& request) : request_(request) {}

  // Builds checked when asked, and without checks where the compiler
  // cannot build or start a checked program here.
  Built build() {
    switch (first_frame(request_.toolchain, request_.checked)) {
      case Frame::kPlain:
        return build_once(Frame::kPlain);
      case Frame::kOwnChecks:
        return without_checks(
            Trouble{kNoChecksHere, {request_.toolchain.compiler[0]}});
      case Frame::kChecked:
        break;
    }
    Attempt checked = build_once(Frame::kChecked);
    if (!checked.drop_checks) return checked;
    return without_checks(std::move(checked.unchecked_because));
  }

 private:
  // The fall-back: a build with the frame's own checks and no sanitizers,
  // which says `why` once built. A compiler that cannot build those checks
  // (neither gcc, clang nor tcc) builds the plain frame; an error in the
  // program fails both alike, and is told from the first.
  Built without_checks(std::optional<Trouble> why) {
    Attempt built = build_once(Frame::kOwnChecks);
    if (built.status == BuildStatus::kFailed && built.frame_to_blame) {
      built = build_once(Frame::kPlain);
    }
    if (built.status == BuildStatus::kBuilt) {
      built.unchecked_because = std::move(why);
    }
    return built;
  }

  // One build; with checks, `drop_checks` set where a build without them
  // is the way on, and why in `unchecked_because`. `frame_to_blame` where
  // the compiler failed without a word about the learner's lines.
  struct Attempt : Built {
    bool drop_checks = false;
    bool frame_to_blame = false;
  };

  Attempt build_once(Frame frame) {
    Attempt built;
    built.checked = frame == Frame::kChecked;
    built.own_checks = frame == Frame::kOwnChecks;
    CompilerCopy copy = make_compiler_copy(request_.program, frame);
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
    const Captured captured =
        compile(copy_path, scratch->path(), built.checked);
    if (captured.interrupted || ending_signal_pending() ||
        (captured.ended && captured.ended->signal == SIGINT)) {
      built.status = BuildStatus::kInterrupted;
      return built;
    }
    if (!captured.ended) {
      built.trouble = Trouble{
          kCannotRun,
          {request_.toolchain.compiler[0], std::strerror(captured.error)}};
      return built;
    }
    const bool failed = captured.ended->status != 0;
    const std::string output =
        failed ? captured.output
               : captured.output + warnings_through_loops(copy_path);
    const explain::Explanation explanation =
        explain::explain_build(request_.program, built.map, output, failed,
                               request_.language, request_.terminal);
    if (failed) {
      compile_failed(built, captured, explanation);
      return built;
    }
    built.said = explanation.shown;
    built.values_missing = explanation.values_missing;
    keep_program(built, *scratch);
    return built;
  }

  // The compiler failed: where nothing of the program is to blame and the
  // sanitizers are named, their run-time is what is missing, and a build
  // without checks is the way on.
  void compile_failed(Attempt& built, const Captured& captured,
                      const explain::Explanation& explanation) const {
    const std::string& compiler = request_.toolchain.compiler[0];
    const std::string trouble = sanitizer_trouble(captured.output);
    built.frame_to_blame = !explanation.source_errors;
    if (built.checked && !explanation.source_errors && !trouble.empty()) {
      built.drop_checks = true;
      built.unchecked_because = Trouble{kNoCheckedBuild, {compiler, trouble}};
      return;
    }
    built.said = explanation.shown;
    built.trouble = Trouble{explain::kDoesNotBuild,
                            {request_.program.source_name(), compiler,
                             std::to_string(captured.ended->status)}};
  }

  // The compiler succeeded: the program it wrote, once it is one that can
  // run (and, checked, start), takes the executable's name.
  void keep_program(Attempt& built, ScratchFile& scratch) const {
    if (!holds_program(scratch.path())) {
      built.trouble =
          Trouble{kWroteNoProgram,
                  {request_.toolchain.compiler[0], request_.executable}};
      return;
    }
    if (!scratch.make_executable()) {
      built.trouble = cannot_write(request_.executable);
      return;
    }
    if (built.checked) {
      if (std::optional<std::string> why = cannot_start(scratch.path())) {
        built.drop_checks = true;
        built.unchecked_because = Trouble{kCheckedCannotStart, {*why}};
        return;
      }
    }
    if (!scratch.take_name(request_.executable)) {
      built.trouble = cannot_write(request_.executable);
      return;
    }
    built.status = BuildStatus::kBuilt;
  }

  Captured compile(const std::string& copy_path, const std::string& output,
                   bool checked) const {
    const CompileCommand command =
        compile_command(request_.toolchain, checked, copy_path, output,
                        request_.scratch_folder);
    return run_and_capture(command.argv, command.settings,
                           {request_.scratch_folder, output});
  }

  // Only the second look's words are kept; a look that fails, cannot run
  // or takes longer than an answer adds nothing.
  std::string warnings_through_loops(const std::string& copy_path) const {
    const std::optional<CompileCommand> look = loop_look_command(
        request_.toolchain, copy_path, request_.scratch_folder);
    if (!look) return {};
    const Captured captured =
        run_and_capture(look->argv, look->settings, {}, kAnswerLimit);
    if (!captured.ended || captured.ended->status != 0) return {};
    return loop_look_warnings(request_.toolchain, captured.output);
  }

  static Trouble cannot_write(const std::string& path) {
    return Trouble{kCannotWrite, {path, std::strerror(errno)}};
  }

  // A checked program maps memory for its sanitizers before it runs: a
  // limit on memory, or a system without room for that, stops it at once.
  // Started with the probe set, it ends as soon as it could run. A folder
  // where no program may run (mounted noexec) refuses it as it would any
  // other: that is no fault of the checks, and the program is kept.
  static std::optional<std::string> cannot_start(const std::string& program) {
    const Captured probe = run_and_capture(
        {program},
        {std::string(kProbeVariable) + "=1", "ASAN_OPTIONS", "UBSAN_OPTIONS"},
        {}, kAnswerLimit);
    if (!probe.ended && probe.error == EACCES) return std::nullopt;
    if (!probe.ended) return std::string(std::strerror(probe.error));
    if (probe.ended->status == 0) return std::nullopt;
    std::string why = first_line(probe.output);
    if (why.empty()) why = "status " + std::to_string(probe.ended->status);
    return why;
  }

  const BuildRequest& request_;
};

}  // namespace

Frame first_frame(const Toolchain& toolchain, bool checked) {
  if (!checked) return Frame::kPlain;
  return toolchain.abilities.checks ? Frame::kChecked : Frame::kOwnChecks;
}

CompileCommand compile_command(const Toolchain& toolchain, bool checked,
                               const std::string& copy_path,
                               const std::string& output,
                               const std::string& scratch_folder) {
  CompileCommand command{toolchain.compiler, compiler_settings(scratch_folder)};
  for (std::string& flag : compile_flags(toolchain, checked)) {
    command.argv.push_back(std::move(flag));
  }
  command.argv.insert(command.argv.end(),
                      {copy_path, toolchain.runtime, "-o", output});
  for (std::string& flag : link_flags())
    command.argv.push_back(std::move(flag));
  return command;
}

std::optional<CompileCommand> loop_look_command(
    const Toolchain& toolchain, const std::string& copy_path,
    const std::string& scratch_folder) {
  const LoopLook* look = look_of(toolchain.family);
  if (look == nullptr) return std::nullopt;
  CompileCommand command{toolchain.compiler, compiler_settings(scratch_folder)};
  for (std::string& flag : compile_flags(toolchain, false)) {
    command.argv.push_back(std::move(flag));
  }
  for (const std::string_view option : look->options) {
    if (!option.empty()) command.argv.emplace_back(option);
  }
  command.argv.insert(command.argv.end(), {"-o", "/dev/null", copy_path});
  return command;
}

std::string loop_look_warnings(const Toolchain& toolchain,
                               std::string_view output) {
  const LoopLook* look = look_of(toolchain.family);
  return look == nullptr ? std::string()
                         : findings_to_tell(output, look->marks);
}

Built build_program(const BuildRequest& request) {
  return Builder(request).build();
}

}  // namespace zemuc::toolchain
