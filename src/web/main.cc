// zemucweb: the playground's program, for WebAssembly (wasm32-wasi) as for
// this machine.
//
// Without a command it is the translator as a filter: a source in
// Shift-JIS on standard input, its C text on standard output and the
// translator's console text on standard error; it exits with the
// translator's status. The optional argument names the source, as
// zemucfilter's does.
//
// With a command (web/commands.h: prepare, explain-build, explain-run,
// analyze, hover, complete) it answers the page in JSON, working on the
// files of its working folder; web/README.md tells each answer.
#include <cstdio>
#include <span>

#include "web/arguments.h"
#include "web/commands.h"
#include "web/filter.h"

int main(int argc, char** argv) {
  const std::span<const char* const> args(argv + 1, argc - 1);
  if (!args.empty() && zemuc::web::command_named(args[0])) {
    return zemuc::web::run_command(args);
  }
  if (args.size() > 1) {
    (void)std::fputs(
        "usage: zemucweb [SOURCE-NAME] <source >c-text\n"
        "       zemucweb COMMAND [--OPTION=VALUE...] (see web/README.md)\n",
        stderr);
    return 2;
  }
  return zemuc::web::run_filter(args.empty() ? "prog.zem" : args[0], stdin,
                                stdout, stderr);
}
