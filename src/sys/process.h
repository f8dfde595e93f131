// Starting other programs: the C compiler, and finding it first.
#ifndef ZEMUC_SYS_PROCESS_H_
#define ZEMUC_SYS_PROCESS_H_

#include <signal.h>

#include <optional>
#include <string>
#include <vector>

namespace zemuc {

// The full path of `program`: as it is when it holds a slash, else the
// first executable of that name in $PATH.
std::optional<std::string> find_program(const std::string& program);

// The signals that end a run from the terminal: interrupt, quit, hangup
// and terminate.
sigset_t ending_signals();

// Holds the ending signals back while it lives, so that cleaning up after
// an interrupted child is not cut short; the children get them as usual.
// It puts back the mask when it ends: a signal that came meanwhile is then
// delivered and ends the process the way the signal says.
class HeldSignals {
 public:
  HeldSignals();
  ~HeldSignals();
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t old_;
};

// True when an ending signal came while held back.
bool ending_signal_pending();

struct Finished {
  int status = -1;     // exit status; -1 when it could not be started
  int signal = 0;      // the signal that ended it, or 0
  std::string output;  // standard output and standard error together
};

// Runs `argv` (argv[0] a full path) with standard input from /dev/null and
// its output captured, and waits for it. The child starts with no signal
// held back.
Finished run_and_capture(const std::vector<std::string>& argv);

}  // namespace zemuc

#endif  // ZEMUC_SYS_PROCESS_H_
