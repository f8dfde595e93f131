// The command line of zemucweb's commands: the command, then options of
// the form --NAME or --NAME=VALUE, each command taking its own.
#ifndef ZEMUC_WEB_ARGUMENTS_H_
#define ZEMUC_WEB_ARGUMENTS_H_

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "text/language.h"

namespace zemuc::web {

enum class Command {
  kPrepare,
  kExplainBuild,
  kExplainRun,
  kAnalyze,
  kHover,
  kComplete,
  kJudge,
  kResults,
};

// The command named `word`, if it names one.
std::optional<Command> command_named(std::string_view word);

struct Arguments {
  Command command = Command::kPrepare;
  Language language = Language::kEnglish;
  std::string name = "prog.zem";  // the source, in the working folder
  bool failed = false;            // the build failed
  std::optional<std::string> build_output;
  int status = 0;  // how the program ended
  std::optional<std::string> trap;
  std::size_t line = 0;  // a position: 0-based, UTF-16 code units
  std::size_t character = 0;
};

// The arguments after the program's name, the command first; a sentence
// saying what is wrong with them when they are wrong.
std::variant<Arguments, std::string> parse_arguments(
    std::span<const char* const> args);

}  // namespace zemuc::web

#endif  // ZEMUC_WEB_ARGUMENTS_H_
