// zemuc's own command line: a verb, its options and one source.
#ifndef ZEMUC_ZEMUC_COMMAND_LINE_H_
#define ZEMUC_ZEMUC_COMMAND_LINE_H_

#include <span>
#include <string>
#include <vector>

namespace zemuc {

enum class Verb {
  kRun,
  kBuild,
  kCheck,
  kTest,
  kExercise,
  kLsp,
  kServe,
  kHelp,
  kVersion
};

// What zemuc exercise does with its folders.
enum class ExerciseTask { kCheck, kOutputs, kPack };

struct Command {
  Verb verb = Verb::kHelp;
  std::string source;  // the .zem file
  std::string output;  // -o NAME of build; empty for the default
  // run and build: the program checks itself as it runs (the sanitizers),
  // unless --no-checks.
  bool checks = true;
  // serve: the site's folder (empty for the installed one), the port (0
  // for any free one) and the address to listen on.
  std::string site;
  int port = 8080;
  std::string bind = "0.0.0.0";
  // test: the exercise's folder; exercise: its task and folders, and
  // pack's file in `output`.
  std::string exercise;
  ExerciseTask task = ExerciseTask::kCheck;
  std::vector<std::string> folders;
  bool json = false;  // test --json
};

// Why a command line was refused.
enum class Refusal {
  kNone,
  kNoCommand,
  kUnknownCommand,    // subject: the word
  kTakesNoArguments,  // subject: --help or --version
  kOutputNotHere,     // -o with a verb other than build
  kOutputTwice,
  kOutputNeedsName,
  kChecksNotHere,  // --no-checks with a verb other than run or build
  kUnknownOption,  // subject: the option
  kOneSource,
  kNoSource,
  kBadPort,           // subject: what stood for the port
  kOptionNeedsValue,  // subject: the option
  kOneSite,
  kJsonNotHere,      // --json with a verb other than test
  kNoExercise,       // test without its exercise folder
  kUnknownTask,      // subject: the word after exercise
  kNoFolder,         // exercise without a folder
  kOneFolder,        // exercise outputs with more than one
  kPackNeedsOutput,  // exercise pack without -o
};

struct ParsedCommand {
  Refusal refusal = Refusal::kNone;  // kNone when the line is good
  std::string subject;
  Command command;
};

// Parses the arguments after the program name: `run [--no-checks] SOURCE`,
// `build [--no-checks] [-o NAME] SOURCE`, `check SOURCE`,
// `test [--json] SOURCE EXERCISE`, `exercise check|outputs|pack FOLDER...
// [-o FILE]`, `lsp [--stdio]`, `serve [DIR] [--port N] [--bind ADDR]`,
// `--help`, `--version`.
// Options may stand before or after the source; `--` ends them.
ParsedCommand parse_command_line(std::span<const char* const> args);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_COMMAND_LINE_H_
