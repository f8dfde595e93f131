// Starting a program on a pseudo-terminal of its own.
#ifndef ZEMUC_SYS_PTY_H_
#define ZEMUC_SYS_PTY_H_

#include <signal.h>
#include <sys/ioctl.h>
#include <sys/types.h>
#include <termios.h>

#include <optional>
#include <string>
#include <vector>

#include "sys/fd.h"

namespace zemuc {

struct PtyChild {
  pid_t pid = -1;
  UniqueFd master;  // the other side of the program's terminal
};

// Runs `program` (no arguments) in the current folder as the leader of a
// session of its own whose controlling terminal is a new pseudo-terminal,
// its standard input, output and error, of `size` (none: the system's
// default). Before the program runs, `setup` changes that terminal's
// settings, the signal mask becomes `mask` and every signal that ends a
// run gets its default action; it runs with this process's environment
// changed by `settings` (see environment_with). With `input_fd` other than
// -1, that descriptor is its standard input instead of the terminal. Returns
// once the program runs; nothing, with errno set, when the terminal, the
// process or the program cannot be had, and then no child is left.
std::optional<PtyChild> start_on_pty(
    const std::string& program, const winsize* size, void (*setup)(termios&),
    const sigset_t& mask, int input_fd = -1,
    const std::vector<std::string>& settings = {});

}  // namespace zemuc

#endif  // ZEMUC_SYS_PTY_H_
