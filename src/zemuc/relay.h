// Running a built program on the user's terminal through a pseudo-terminal
// of its own, converting between the terminal's encoding and Shift-JIS.
#ifndef ZEMUC_ZEMUC_RELAY_H_
#define ZEMUC_ZEMUC_RELAY_H_

#include <signal.h>
#include <termios.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sys/process.h"
#include "text/encoding.h"

namespace zemuc {

// The settings of the program's side of the pseudo-terminal: lines are
// edited and echoed by the user's own terminal, in its encoding, so this
// side does not echo; it keeps whole lines for the program, ends its input
// at the end-of-file character, turns the interrupt character into
// SIGINT, and passes every other byte unchanged in both directions.
void set_program_side(termios& settings);

// Bytes for the program's side: the characters that side would act on
// (interrupt, quit, end of file, next-literal) are marked to be taken
// literally.
std::string literal_input(std::string_view sjis_bytes);

// How a program run on the terminal ended.
struct ProgramEnd {
  Ended ended;
  // Whether what is shown ends at the start of a line: the program's last
  // output ended its line, or a line was typed on the terminal after it.
  // Messages after the run start on a line of their own.
  bool at_line_start = true;
  // Why its output could not be shown (EPIPE: the reader has gone), or 0.
  // The program was then ended with SIGPIPE, as it would end alone.
  int output_error = 0;
};

// Runs `program` in the current folder with a pseudo-terminal as its
// standard input, output and error; when `input_fd` is not a terminal,
// with a pipe as its input instead, so that what arrives reaches it whole. What
// it writes reaches `output_fd` in the terminal's encoding as soon as it is
// written, prompts without a line end included; what arrives on `input_fd`
// reaches it in Shift-JIS. Ctrl-D on a terminal ends its input as a terminal
// does, once: a read after it gets the lines typed next. The end of any
// other input is final. An interrupt, quit, hangup or terminate signal to
// zemuc is passed on to it for as long as it runs, also after it has closed
// its terminal. The program starts with the signal mask `mask` and the
// environment changed by `settings`, and `started` is called once it runs (its
// file may then go). Returns how it ended, or nothing with errno set when it
// could not be started or waited for.
std::optional<ProgramEnd> run_on_pseudo_terminal(
    const std::string& program, Encoding terminal, int input_fd, int output_fd,
    const sigset_t& mask, const std::vector<std::string>& settings,
    const std::function<void()>& started);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_RELAY_H_
