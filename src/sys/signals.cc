#include "sys/signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace zemuc {
namespace {

// The mask and action calls fail only for an argument that cannot be: a
// failure is a fault of this program, not of its user's system.
void must(bool ok) {
  if (!ok) std::abort();
}

// `set` with `more` added.
sigset_t with(sigset_t set, std::initializer_list<int> more) {
  for (const int signal : more) sigaddset(&set, signal);
  return set;
}

}  // namespace

sigset_t ending_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kEndingSignals) sigaddset(&set, signal);
  return set;
}

sigset_t ending_signals_and_child() {
  return with(ending_signals(), {SIGCHLD});
}

sigset_t signals_reset_for_children() {
  return with(ending_signals_and_child(), {SIGPIPE});
}

sigset_t signals_reset_for_programs() {
  return with(signals_reset_for_children(), {SIGXFSZ});
}

void restore_child_signal() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  must(::sigaction(SIGCHLD, &action, nullptr) == 0);
}

HeldSignals::HeldSignals(const sigset_t& set) {
  must(::sigprocmask(SIG_BLOCK, &set, &old_) == 0);
}

HeldSignals::~HeldSignals() {
  must(::sigprocmask(SIG_SETMASK, &old_, nullptr) == 0);
}

bool ending_signal_pending() {
  sigset_t pending;
  must(::sigpending(&pending) == 0);
  for (const int signal : kEndingSignals) {
    if (sigismember(&pending, signal)) return true;
  }
  return false;
}

void raise_signal(int signal) { must(::raise(signal) == 0); }

std::optional<SignalFd> SignalFd::open(const sigset_t& set) {
  UniqueFd fd(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
  if (!fd) return std::nullopt;
  return SignalFd(std::move(fd));
}

int SignalFd::take() {
  signalfd_siginfo info;
  for (;;) {
    const ssize_t n = ::read(fd_.get(), &info, sizeof info);
    if (n < 0 && errno == EINTR) continue;
    if (n != static_cast<ssize_t>(sizeof info)) return 0;
    return static_cast<int>(info.ssi_signo);
  }
}

IgnoredSignal::IgnoredSignal(int signal) : signal_(signal) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  must(::sigaction(signal_, &ignore, &old_) == 0);
}

IgnoredSignal::~IgnoredSignal() {
  must(::sigaction(signal_, &old_, nullptr) == 0);
}

}  // namespace zemuc
