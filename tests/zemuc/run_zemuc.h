// Running the built zemuc as a user would, with the locale chosen.
#ifndef ZEMUC_TESTS_ZEMUC_RUN_ZEMUC_H_
#define ZEMUC_TESTS_ZEMUC_RUN_ZEMUC_H_

#include <string>
#include <vector>

#include "support/run.h"

namespace zemuc::testing {

// Runs zemuc with `args` in `cwd` under env(1): `environment` holds
// NAME=VALUE settings on top of a UTF-8 locale with English messages.
inline RunResult run_zemuc(const std::vector<std::string>& args,
                           const std::filesystem::path& cwd,
                           std::string_view input = "",
                           const std::vector<std::string>& environment = {}) {
  std::vector<std::string> command = {
      "-u", "LANGUAGE", "-u", "LC_MESSAGES", "-u", "CC", "LC_ALL=C.UTF-8"};
  command.insert(command.end(), environment.begin(), environment.end());
  command.push_back(ZEMUC_PATH);
  command.insert(command.end(), args.begin(), args.end());
  return run_program("/usr/bin/env", command, input, cwd);
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_ZEMUC_RUN_ZEMUC_H_
