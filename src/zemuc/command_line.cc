#include "zemuc/command_line.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zemuc {
namespace {

std::optional<Verb> verb_of(std::string_view word) {
  if (word == "run") return Verb::kRun;
  if (word == "build") return Verb::kBuild;
  if (word == "check") return Verb::kCheck;
  if (word == "test") return Verb::kTest;
  if (word == "exercise") return Verb::kExercise;
  if (word == "lsp") return Verb::kLsp;
  if (word == "serve") return Verb::kServe;
  if (word == "--help" || word == "-h" || word == "help") return Verb::kHelp;
  if (word == "--version" || word == "-V") return Verb::kVersion;
  return std::nullopt;
}

ParsedCommand refuse(Refusal refusal, std::string_view subject = {}) {
  ParsedCommand parsed;
  parsed.refusal = refusal;
  parsed.subject = subject;
  return parsed;
}

// A port from 0 to 65535, written in decimal digits alone.
std::optional<int> port_of(std::string_view text) {
  if (text.empty() || text.size() > 5 ||
      text.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  const int port = std::stoi(std::string(text));
  if (port > 65535) return std::nullopt;
  return port;
}

// `serve [DIR] [--port N] [--bind ADDR]`; `--port=N` and `--bind=ADDR` too.
ParsedCommand parse_serve(std::span<const char* const> args) {
  ParsedCommand parsed;
  Command& command = parsed.command;
  command.verb = Verb::kServe;
  bool options_done = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    std::string_view name = arg.substr(0, arg.find('='));
    const bool is_option =
        !options_done && (name == "--port" || name == "--bind");
    std::optional<std::string_view> value;
    if (is_option && name.size() < arg.size()) {
      value = arg.substr(name.size() + 1);
    } else if (is_option && i + 1 < args.size()) {
      value = args[++i];
    }
    if (is_option && !value) return refuse(Refusal::kOptionNeedsValue, name);
    if (!options_done && arg == "--") {
      options_done = true;
    } else if (!options_done && (arg == "--help" || arg == "-h")) {
      command.verb = Verb::kHelp;
      return parsed;
    } else if (is_option && name == "--port") {
      const std::optional<int> port = port_of(*value);
      if (!port) return refuse(Refusal::kBadPort, *value);
      command.port = *port;
    } else if (is_option) {
      if (value->empty()) return refuse(Refusal::kOptionNeedsValue, name);
      command.bind = *value;
    } else if (!options_done && arg.size() > 1 && arg[0] == '-') {
      return refuse(Refusal::kUnknownOption, arg);
    } else if (!command.site.empty()) {
      return refuse(Refusal::kOneSite);
    } else {
      command.site = arg;
    }
  }
  return parsed;
}

std::optional<ExerciseTask> task_of(std::string_view word) {
  if (word == "check") return ExerciseTask::kCheck;
  if (word == "outputs") return ExerciseTask::kOutputs;
  if (word == "pack") return ExerciseTask::kPack;
  return std::nullopt;
}

// The words that are no options, as test and exercise take them: test a
// source and a folder, exercise its folders.
ParsedCommand place_words(ParsedCommand parsed,
                          const std::vector<std::string>& words) {
  Command& command = parsed.command;
  if (command.verb == Verb::kTest) {
    if (words.empty()) return refuse(Refusal::kNoSource);
    if (words.size() < 2) return refuse(Refusal::kNoExercise);
    if (words.size() > 2) return refuse(Refusal::kOneSource);
    command.source = words[0];
    command.exercise = words[1];
    return parsed;
  }
  if (words.empty()) return refuse(Refusal::kNoFolder);
  if (command.task == ExerciseTask::kOutputs && words.size() > 1) {
    return refuse(Refusal::kOneFolder);
  }
  if (command.task == ExerciseTask::kPack && command.output.empty()) {
    return refuse(Refusal::kPackNeedsOutput);
  }
  command.folders = words;
  return parsed;
}

// Clients may name the transport; standard input and output is the one
// the server speaks.
ParsedCommand lsp_options(ParsedCommand parsed,
                          std::span<const char* const> args) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (std::string_view(args[i]) != "--stdio") {
      return refuse(Refusal::kUnknownOption, args[i]);
    }
  }
  return parsed;
}

// -o NAME or -oNAME at args[i] (i moves past a NAME apart), for build and
// exercise pack once.
Refusal take_output(std::span<const char* const> args, std::size_t& i,
                    bool& output_given, ParsedCommand& parsed) {
  const std::string_view arg = args[i];
  Command& command = parsed.command;
  const bool packs =
      command.verb == Verb::kExercise && command.task == ExerciseTask::kPack;
  if (command.verb != Verb::kBuild && !packs) return Refusal::kOutputNotHere;
  if (output_given) return Refusal::kOutputTwice;
  if (arg.size() > 2) {
    command.output = arg.substr(2);
  } else if (++i < args.size()) {
    command.output = args[i];
  } else {
    return Refusal::kOutputNeedsName;
  }
  if (command.output.empty()) return Refusal::kOutputNeedsName;
  output_given = true;
  return Refusal::kNone;
}

}  // namespace

ParsedCommand parse_command_line(std::span<const char* const> args) {
  if (args.empty()) return refuse(Refusal::kNoCommand);
  const std::optional<Verb> verb = verb_of(args[0]);
  if (!verb) return refuse(Refusal::kUnknownCommand, args[0]);
  ParsedCommand parsed;
  parsed.command.verb = *verb;
  if (*verb == Verb::kHelp || *verb == Verb::kVersion) {
    if (args.size() > 1) return refuse(Refusal::kTakesNoArguments, args[0]);
    return parsed;
  }
  if (*verb == Verb::kServe) return parse_serve(args);
  if (*verb == Verb::kLsp) return lsp_options(std::move(parsed), args);
  std::size_t first = 1;
  if (*verb == Verb::kExercise) {
    const std::optional<ExerciseTask> task =
        args.size() > 1 ? task_of(args[1]) : std::nullopt;
    if (!task) {
      return refuse(
          args.size() > 1 ? Refusal::kUnknownTask : Refusal::kNoCommand,
          args.size() > 1 ? args[1] : "");
    }
    parsed.command.task = *task;
    first = 2;
  }
  const bool takes_words = *verb == Verb::kTest || *verb == Verb::kExercise;
  std::vector<std::string> words;
  bool options_done = false;
  bool output_given = false;
  for (std::size_t i = first; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!options_done && arg == "--") {
      options_done = true;
    } else if (!options_done && (arg == "--help" || arg == "-h")) {
      parsed.command.verb = Verb::kHelp;
      return parsed;
    } else if (!options_done && arg == "--json") {
      if (*verb != Verb::kTest) return refuse(Refusal::kJsonNotHere);
      parsed.command.json = true;
    } else if (!options_done && arg == "--no-checks") {
      if (*verb != Verb::kRun && *verb != Verb::kBuild) {
        return refuse(Refusal::kChecksNotHere);
      }
      parsed.command.checks = false;
    } else if (!options_done && arg.starts_with("-o")) {
      const Refusal refusal = take_output(args, i, output_given, parsed);
      if (refusal != Refusal::kNone) return refuse(refusal);
    } else if (!options_done && arg.size() > 1 && arg[0] == '-') {
      return refuse(Refusal::kUnknownOption, arg);
    } else if (takes_words) {
      words.emplace_back(arg);
    } else if (!parsed.command.source.empty()) {
      return refuse(Refusal::kOneSource);
    } else {
      parsed.command.source = arg;
    }
  }
  if (takes_words) return place_words(std::move(parsed), words);
  if (parsed.command.source.empty()) return refuse(Refusal::kNoSource);
  return parsed;
}

}  // namespace zemuc
