// Other programs: finding one, starting it with its output captured, and
// waiting for it.
#ifndef ZEMUC_SYS_PROCESS_H_
#define ZEMUC_SYS_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "sys/fd.h"

namespace zemuc {

// The full path of `program`: as it is when it holds a slash, else the
// first executable of that name in $PATH.
std::optional<std::string> find_program(const std::string& program);

// How a child ended.
struct Ended {
  int status = 0;  // its exit status, or 128 plus the signal, as shells say
  int signal = 0;  // the signal that ended it, or 0
};

// The one wait: blocks until `child` ends. Nothing, with errno set, when
// it cannot be waited for, which is never taken for an ending.
std::optional<Ended> wait_for(pid_t child);

// The same without blocking: nothing while `child` runs; `failed` is set
// when it cannot be waited for.
std::optional<Ended> poll_for(pid_t child, bool& failed);

struct Captured {
  std::string output;  // standard output and standard error together
  // How it ended; nothing when it could not be started or waited for,
  // with `error` the errno of why.
  std::optional<Ended> ended;
  int error = 0;
  // An ending signal came while the caller held it back: the command was
  // ended at once, and the signal is still pending.
  bool interrupted = false;
};

// How long a tool asked a question (its version, whether it takes an
// option, where an address lies) may take before it is taken for one that
// hangs.
inline constexpr std::chrono::seconds kAnswerLimit{20};

// Runs `argv` (argv[0] a full path) with standard input from /dev/null and
// its output captured, and waits for it. The child starts with no signal
// held back and the default action for every signal that ends a run, and
// with this process's environment changed by `settings` (see
// environment_with). It runs in a process group of its own, which an
// ending signal that the caller holds back ends at once, and which never
// outlives this process, even one killed; `leftovers` (files or folders)
// are then removed. With a `limit`, a command still running after it is
// ended too, and the capture fails with ETIMEDOUT: a tool asked a question
// must not keep zemuc waiting forever.
//
// `where` may give the command a file as its input, a folder to run in,
// and a most of output: a command that writes more is ended too, and the
// capture fails with EFBIG.
struct CaptureSetup {
  std::string input;             // empty: /dev/null
  std::string folder;            // empty: this process's
  std::size_t output_limit = 0;  // 0: none
};
Captured run_and_capture(
    const std::vector<std::string>& argv,
    const std::vector<std::string>& settings = {},
    const std::vector<std::string>& leftovers = {},
    std::optional<std::chrono::milliseconds> limit = std::nullopt,
    const CaptureSetup& where = {});

// A command started as run_and_capture() starts it, not waited for: the
// caller reads `output` until its end (poll it to wait without blocking),
// then `report` becomes readable once the command has ended, and
// finish_captured() tells how. Nothing started, with `error` the errno of
// why, when `guardian` is -1.
struct StartedCommand {
  pid_t guardian = -1;  // the process that watches over the command
  UniqueFd output;      // standard output and standard error together
  UniqueFd report;      // the guardian's last word
  int error = 0;
};
StartedCommand start_captured(const std::vector<std::string>& argv,
                              const std::vector<std::string>& settings = {},
                              const std::vector<std::string>& leftovers = {},
                              const CaptureSetup& where = {});

// How a started command ended, once its output has ended (`read_error`
// the errno of a read of it that failed, or 0): waits for the guardian,
// which ends as soon as the command has.
Captured finish_captured(StartedCommand& started, std::string output,
                         int read_error);

// Ends a started command's whole group at once, removes its leftovers and
// waits for the guardian; false when it could not be told or waited for.
bool stop_captured(StartedCommand& started);

// This process's environment with each NAME=VALUE of `settings` in place
// of the variable of that name, and a bare NAME removing it.
std::vector<std::string> environment_with(
    const std::vector<std::string>& settings);

// Pointers to the strings, ended by a null pointer, as exec takes them;
// valid while `strings` lives unchanged.
std::vector<char*> exec_pointers(const std::vector<std::string>& strings);

}  // namespace zemuc

#endif  // ZEMUC_SYS_PROCESS_H_
