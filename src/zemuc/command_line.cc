#include "zemuc/command_line.h"

#include <optional>
#include <string>
#include <string_view>

namespace zemuc {
namespace {

std::optional<Verb> verb_of(std::string_view word) {
  if (word == "run") return Verb::kRun;
  if (word == "build") return Verb::kBuild;
  if (word == "check") return Verb::kCheck;
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
  if (*verb == Verb::kLsp) {
    // Clients may name the transport; standard input and output is the one
    // the server speaks.
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (std::string_view(args[i]) != "--stdio") {
        return refuse(Refusal::kUnknownOption, args[i]);
      }
    }
    return parsed;
  }
  bool options_done = false;
  bool output_given = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!options_done && arg == "--") {
      options_done = true;
    } else if (!options_done && (arg == "--help" || arg == "-h")) {
      parsed.command.verb = Verb::kHelp;
      return parsed;
    } else if (!options_done && arg == "--no-checks") {
      if (*verb == Verb::kCheck) return refuse(Refusal::kChecksNotHere);
      parsed.command.checks = false;
    } else if (!options_done && arg.starts_with("-o")) {
      if (*verb != Verb::kBuild) return refuse(Refusal::kOutputNotHere);
      if (output_given) return refuse(Refusal::kOutputTwice);
      if (arg.size() > 2) {
        parsed.command.output = arg.substr(2);
      } else if (++i < args.size()) {
        parsed.command.output = args[i];
      } else {
        return refuse(Refusal::kOutputNeedsName);
      }
      if (parsed.command.output.empty())
        return refuse(Refusal::kOutputNeedsName);
      output_given = true;
    } else if (!options_done && arg.size() > 1 && arg[0] == '-') {
      return refuse(Refusal::kUnknownOption, arg);
    } else if (!parsed.command.source.empty()) {
      return refuse(Refusal::kOneSource);
    } else {
      parsed.command.source = arg;
    }
  }
  if (parsed.command.source.empty()) return refuse(Refusal::kNoSource);
  return parsed;
}

}  // namespace zemuc
