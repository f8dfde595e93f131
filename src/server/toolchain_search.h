// The compiler looked for (toolchain::find_toolchain: where it is, what it
// is and what it takes, each question to it bounded by kAnswerLimit) in a
// child process, so that the server's loop answers every request
// meanwhile: the child writes what it found on a pipe that the loop polls,
// and a search the server no longer wants is ended at once.
#ifndef ZEMUC_SERVER_TOOLCHAIN_SEARCH_H_
#define ZEMUC_SERVER_TOOLCHAIN_SEARCH_H_

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "sys/fd.h"
#include "toolchain/toolchain.h"

namespace zemuc::lsp {

class ToolchainSearch {
 public:
  ToolchainSearch() = default;
  ToolchainSearch(const ToolchainSearch&) = delete;
  ToolchainSearch& operator=(const ToolchainSearch&) = delete;
  ~ToolchainSearch() { stop(); }

  // Starts the search; false when no child could be started.
  bool start();
  bool running() const { return child_ > 0; }
  // What to poll while the search runs; -1 when none runs.
  int fd() const { return from_child_.get(); }

  // What the search found, once it has ended: the toolchain, or nothing
  // when there is none to build with (or the search failed).
  struct Found {
    std::optional<toolchain::Toolchain> toolchain;
  };
  // Takes what the child has written, without waiting; what it found
  // once it has ended.
  std::optional<Found> advance();
  // Ends the search, unheard.
  void stop();

 private:
  std::optional<Found> finish(bool read_failed);

  pid_t child_ = -1;
  UniqueFd from_child_;
  std::string text_;
};

// The text the child writes for a toolchain, and the toolchain read back
// from it: nothing when the text is not a whole one.
std::string toolchain_text(const toolchain::Toolchain& toolchain);
std::optional<toolchain::Toolchain> toolchain_from(std::string_view text);

}  // namespace zemuc::lsp

#endif  // ZEMUC_SERVER_TOOLCHAIN_SEARCH_H_
