// Building a translated program: the compiler's copy of its C text, built
// with the run-time file, checked or not, into an executable that appears
// whole or not at all; what the compiler says told in the learner's terms.
#ifndef ZEMUC_BUILD_H_
#define ZEMUC_BUILD_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explain/explain.h"
#include "program/copy.h"
#include "program/program.h"
#include "text/encoding.h"
#include "text/language.h"
#include "toolchain/toolchain.h"

namespace zemuc::toolchain {

struct BuildRequest {
  const Program& program;
  const Toolchain& toolchain;
  bool checked = true;
  std::string executable;      // where the program goes
  std::string scratch_folder;  // a private folder for the copy
  Language language = Language::kEnglish;
  Encoding terminal = Encoding::kUtf8;
};

enum class BuildStatus { kBuilt, kFailed, kInterrupted };

struct Built {
  BuildStatus status = BuildStatus::kFailed;
  bool checked = false;  // whether the program built has the checks
  // Whether it has, for want of the sanitizers, the frame's own checks.
  bool own_checks = false;
  CopyMap map;  // of the copy it was built from
  // The compiler's errors or warnings as the learner is told them.
  std::string said;
  // What its warnings said of values missing, for the faults of a run.
  std::vector<explain::ValueMissing> values_missing;
  // Why the build failed, told after the messages, or alone when the
  // compiler could not even run.
  std::optional<Trouble> trouble;
  // Asked for with checks, built without: why, in one line. A compiler
  // that cannot build with its sanitizers (their run-time is missing),
  // or a checked program that cannot start here.
  std::optional<Trouble> unchecked_because;
};

// The frame a build of the copy is made in first: checked, with the
// sanitizers, where checks are asked for and the compiler builds such a
// program here; with the frame's own checks where it cannot; plain
// without checks. The compiler's messages depend on it: the checks stand
// in for some of the C library's functions.
Frame first_frame(const Toolchain& toolchain, bool checked);

// The compiler's command for a build of the copy at `copy_path` into
// `output`, and the settings of its environment: messages in English with
// plain quotes, its scratch files in `scratch_folder`.
struct CompileCommand {
  std::vector<std::string> argv;
  std::vector<std::string> settings;
};
CompileCommand compile_command(const Toolchain& toolchain, bool checked,
                               const std::string& copy_path,
                               const std::string& output,
                               const std::string& scratch_folder);

// The second look at a copy that built: a compile of the compiler's family
// that writes nothing and warns of a variable used before it gets a value
// inside a loop, which the build's own warnings miss; nothing for a family
// without one. Its settings are a build's.
std::optional<CompileCommand> loop_look_command(
    const Toolchain& toolchain, const std::string& copy_path,
    const std::string& scratch_folder);

// What of the output of a second look that ended with status 0 is told as
// the build's own warnings are: each warning of a value used before it is
// set, with its notes, as the compiler wrote them.
std::string loop_look_warnings(const Toolchain& toolchain,
                               std::string_view output);

// Builds the program. The caller holds the ending signals back
// (HeldSignals), so that an interrupted build still removes its scratch
// files.
Built build_program(const BuildRequest& request);

}  // namespace zemuc::toolchain

#endif  // ZEMUC_BUILD_H_
