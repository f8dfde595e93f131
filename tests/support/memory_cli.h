// Running the command line in memory: named files in a map, the console in
// a string, and the key read counted.
#ifndef ZEMUC_TESTS_SUPPORT_MEMORY_CLI_H_
#define ZEMUC_TESTS_SUPPORT_MEMORY_CLI_H_

#include <cstddef>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "io/files.h"
#include "io/output.h"

namespace zemuc::testing {

struct CliRun {
  std::string console;  // every console byte, Shift-JIS
  int status = -1;
  int keys = 0;  // how often the key was read
  // Console bytes already written when the key was last read: the whole
  // console when the key is read after the last message.
  std::size_t console_at_key = 0;
};

// Runs run_cli with `args` after the program name.
inline CliRun run_cli_in_memory(const std::vector<std::string>& args,
                                Files& files) {
  CliRun run;
  std::vector<const char*> argv = {"zemucfilter"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  StringSink sink(run.console);
  {
    Output console(sink);
    run.status = run_cli(argv, files, console, [&run] {
      ++run.keys;
      run.console_at_key = run.console.size();
    });
  }
  return run;
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_SUPPORT_MEMORY_CLI_H_
