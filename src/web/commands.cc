#include "web/commands.h"

#include <cstdio>
#include <string>
#include <variant>

namespace zemuc::web {

int run_command(std::span<const char* const> args) {
  const std::variant<Arguments, std::string> parsed = parse_arguments(args);
  if (const auto* wrong = std::get_if<std::string>(&parsed)) {
    // Nothing is left to tell a failure of this one with.
    (void)std::fprintf(stderr, "zemucweb: %s\n", wrong->c_str());
    return 2;
  }
  const Arguments& arguments = std::get<Arguments>(parsed);
  switch (arguments.command) {
    case Command::kPrepare:
      return prepare(arguments);
    case Command::kExplainBuild:
      return explain_build(arguments);
    case Command::kExplainRun:
      return explain_run(arguments);
    case Command::kAnalyze:
      return analyze(arguments);
    case Command::kHover:
      return hover(arguments);
    case Command::kComplete:
      return complete(arguments);
    case Command::kJudge:
      return judge(arguments);
    case Command::kResults:
      return results(arguments);
  }
  return 2;
}

}  // namespace zemuc::web
