// zemucweb's commands, which the playground's page runs once per call in
// a folder of its own ("."), each printing one JSON value on standard
// output: web/README.md gives their answers.
#ifndef ZEMUC_WEB_COMMANDS_H_
#define ZEMUC_WEB_COMMANDS_H_

#include <span>

#include "web/arguments.h"

namespace zemuc::web {

// Each returns zemucweb's exit status: 0 once the answer is printed.

// Translates the source: STEM.c, the compiler's copy, and how to build
// and run it.
int prepare(const Arguments& arguments);
// What the compiler said (standard input), as zemuc run tells it.
int explain_build(const Arguments& arguments);
// How the program ended, as zemuc run tells it.
int explain_run(const Arguments& arguments);
// The editor's diagnostics and the C text's line map.
int analyze(const Arguments& arguments);
int hover(const Arguments& arguments);
int complete(const Arguments& arguments);
// An exercise's case judged (case.json, run.json) as zemuc test judges it.
int judge(const Arguments& arguments);
// The cases' results (results.json) told as zemuc test tells them.
int results(const Arguments& arguments);

// The arguments after the program's name, the command first; 2 with a
// word on standard error for a wrong command line.
int run_command(std::span<const char* const> args);

}  // namespace zemuc::web

#endif  // ZEMUC_WEB_COMMANDS_H_
