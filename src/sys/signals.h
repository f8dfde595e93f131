// Signals: which end a run, holding them back while cleaning up, and
// taking them as readable events.
#ifndef ZEMUC_SYS_SIGNALS_H_
#define ZEMUC_SYS_SIGNALS_H_

#include <signal.h>

#include <array>
#include <optional>

#include "sys/fd.h"

namespace zemuc {

// The signals that end a run from the terminal: interrupt, quit, hangup
// and terminate.
inline constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGQUIT, SIGHUP,
                                                      SIGTERM};

// The ending signals as a set, and with SIGCHLD added.
sigset_t ending_signals();
sigset_t ending_signals_and_child();

// The signals a child gets back with their default action before it runs:
// the ending ones, SIGCHLD and SIGPIPE, whatever zemuc set for itself.
sigset_t signals_reset_for_children();

// What the learner's program gets back besides: SIGXFSZ, which zemuc
// ignores so that a write past a file-size limit fails and is told (and
// so do the compiler's), ends a program as it would end that program run
// alone.
sigset_t signals_reset_for_programs();

// Gives SIGCHLD its default action back. A launcher that ignores it (some
// shells and process managers do) makes the system reap every child at
// once, so that no wait would see how a child ended; children inherit the
// setting too.
void restore_child_signal();

// Holds `set` back while it lives, so that cleaning up is not cut short;
// children get the signals as usual. It puts back the mask when it ends: a
// signal that came meanwhile is then delivered and ends the process the
// way the signal says, so whatever must go must go before.
class HeldSignals {
 public:
  explicit HeldSignals(const sigset_t& set = ending_signals());
  ~HeldSignals();
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

  // The mask from before, for a child to start with.
  const sigset_t& previous() const { return old_; }

 private:
  sigset_t old_;
};

// True when an ending signal came while held back.
bool ending_signal_pending();

// Sends `signal` to this process, which then ends (or not) as its action
// says: a tool that let a signal wait until it had cleaned up.
void raise_signal(int signal);

// Signals of a set that the caller holds back, as a readable descriptor,
// so that a poll loop takes them as events.
class SignalFd {
 public:
  // Nothing, with errno set, when the descriptor cannot be made.
  static std::optional<SignalFd> open(const sigset_t& set);
  int fd() const { return fd_.get(); }
  // The next signal that came, or 0 when none waits.
  int take();

 private:
  explicit SignalFd(UniqueFd fd) : fd_(std::move(fd)) {}
  UniqueFd fd_;
};

// Ignores a signal while it lives (SIGPIPE while writing to a reader that
// may go), then puts back what was there.
class IgnoredSignal {
 public:
  explicit IgnoredSignal(int signal);
  ~IgnoredSignal();
  IgnoredSignal(const IgnoredSignal&) = delete;
  IgnoredSignal& operator=(const IgnoredSignal&) = delete;

 private:
  int signal_;
  struct sigaction old_ {};
};

}  // namespace zemuc

#endif  // ZEMUC_SYS_SIGNALS_H_
