// Builds of documents' texts behind the server's back, one at a time: the
// compiler runs as a child whose output the server's poll loop reads
// (fd()), so that no request waits for it, and a build that outlasts its
// time is ended. A build that succeeds is followed by the compiler's second
// look for values used before they are set inside loops, as zemuc run's
// is (toolchain/build.h). What the output says is lsp/compiler_findings.h's.
#ifndef ZEMUC_SERVER_BACKGROUND_BUILD_H_
#define ZEMUC_SERVER_BACKGROUND_BUILD_H_

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lsp/compiler_findings.h"
#include "server/toolchain_search.h"
#include "sys/disk.h"
#include "sys/process.h"
#include "toolchain/toolchain.h"

namespace zemuc::lsp {

using Clock = std::chrono::steady_clock;

// Which text of which document a build is of.
struct BuildKey {
  std::string uri;
  std::uint64_t revision = 0;
  bool operator==(const BuildKey&) const = default;
};

class BackgroundBuild {
 public:
  // The longest a build may take before it is ended unheard.
  static constexpr std::chrono::seconds kLongest{10};

  BackgroundBuild() = default;
  BackgroundBuild(const BackgroundBuild&) = delete;
  BackgroundBuild& operator=(const BackgroundBuild&) = delete;
  ~BackgroundBuild() { stop(); }

  // Whether there is a compiler and the run-time file to build with. The
  // first call starts looking for them, away from the server's loop
  // (server/toolchain_search.h): kLooking until they are found or not, and
  // fd() wakes the loop then.
  enum class Compiler { kLooking, kFound, kNone };
  Compiler compiler();

  // The frame to make a build's input in (once compiler() is kFound):
  // `zemuc build`'s, so that the compiler says what it says there.
  zemuc::Frame frame() const;
  // Starts the build of `input` (once compiler() is kFound); false when it
  // could not start.
  bool start(BuildKey key, BuildInput input, Language language);
  const std::optional<BuildKey>& running() const { return key_; }
  // What to poll for the build, or for the compiler being looked for; -1
  // when neither runs.
  int fd() const;
  // The milliseconds before the build running is due to end, -1 when none
  // runs.
  int ms_left(Clock::time_point now) const;

  struct Done {
    BuildKey key;
    std::vector<CompilerFinding> findings;  // none when it told nothing
  };
  // Takes what the compiler has written, without waiting; what it said
  // once it has ended, or has run too long and was ended.
  std::optional<Done> advance(Clock::time_point now);
  // Ends the build running, unheard.
  void stop();

 private:
  std::optional<Done> finish();
  bool start_look(const std::string& built_output);
  // What `output` of the build, with its second look's, says, once the
  // build is over: nothing without an output.
  Done finished(const std::optional<std::string>& output, bool failed);

  bool looked_ = false;
  ToolchainSearch search_;
  std::optional<toolchain::Toolchain> toolchain_;
  // The build running.
  std::optional<BuildKey> key_;
  std::optional<BuildInput> input_;
  std::optional<ScratchFolder> folder_;
  Language language_ = Language::kEnglish;
  StartedCommand command_;
  std::string output_;
  int read_error_ = 0;
  // The build's own output while its second look runs.
  std::optional<std::string> built_output_;
  Clock::time_point deadline_;
};

}  // namespace zemuc::lsp

#endif  // ZEMUC_SERVER_BACKGROUND_BUILD_H_
