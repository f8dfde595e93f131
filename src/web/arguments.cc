#include "web/arguments.h"

#include <charconv>
#include <limits>

namespace zemuc::web {
namespace {

enum Option : unsigned {
  kLang = 1 << 0,
  kName = 1 << 1,
  kFailed = 1 << 2,
  kBuildOutput = 1 << 3,
  kStatus = 1 << 4,
  kTrap = 1 << 5,
  kLine = 1 << 6,
  kCharacter = 1 << 7,
};

struct OptionRow {
  Option option;
  std::string_view name;
  bool takes_value;
};

constexpr OptionRow kOptions[] = {
    {kLang, "lang", true},      {kName, "name", true},
    {kFailed, "failed", false}, {kBuildOutput, "build-output", true},
    {kStatus, "status", true},  {kTrap, "trap", true},
    {kLine, "line", true},      {kCharacter, "character", true},
};

// Each command, the options it takes and those it needs.
struct CommandRow {
  Command command;
  std::string_view name;
  unsigned takes;
  unsigned needs;
};

constexpr unsigned kEvery = kLang | kName;
constexpr CommandRow kCommands[] = {
    {Command::kPrepare, "prepare", kEvery, 0},
    {Command::kExplainBuild, "explain-build", kEvery | kFailed, 0},
    {Command::kExplainRun, "explain-run", kEvery | kStatus | kTrap, kStatus},
    {Command::kAnalyze, "analyze", kEvery | kBuildOutput | kFailed, 0},
    {Command::kHover, "hover", kEvery | kLine | kCharacter, kLine | kCharacter},
    {Command::kComplete, "complete", kEvery | kLine | kCharacter,
     kLine | kCharacter},
    {Command::kJudge, "judge", kLang, 0},
    {Command::kResults, "results", kLang, 0},
};

template <typename Number>
bool read_number(std::string_view text, Number& number) {
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size();
}

// Sets the option's value; false when the value is not one it takes.
bool take(Option option, std::string_view value, Arguments& out) {
  switch (option) {
    case kLang:
      if (value != "ja" && value != "en") return false;
      out.language = value == "ja" ? Language::kJapanese : Language::kEnglish;
      return true;
    case kName:
      // A name the translator can make a C file's name of, in the
      // working folder itself.
      out.name = value;
      return value.size() > 4 && value.ends_with(".zem") &&
             value.find('/') == std::string_view::npos;
    case kFailed:
      out.failed = true;
      return true;
    case kBuildOutput:
      out.build_output = value;
      return !value.empty();
    case kStatus:
      return read_number(value, out.status) && out.status >= 0 &&
             out.status <= 255;
    case kTrap:
      out.trap = value;
      return true;
    case kLine:
      return read_number(value, out.line);
    case kCharacter:
      return read_number(value, out.character);
  }
  return false;
}

}  // namespace

std::optional<Command> command_named(std::string_view word) {
  for (const CommandRow& row : kCommands) {
    if (row.name == word) return row.command;
  }
  return std::nullopt;
}

std::variant<Arguments, std::string> parse_arguments(
    std::span<const char* const> args) {
  if (args.empty()) return std::string("no command given");
  const CommandRow* command = nullptr;
  for (const CommandRow& row : kCommands) {
    if (row.name == args[0]) command = &row;
  }
  if (command == nullptr)
    return "unknown command '" + std::string(args[0]) + "'";
  Arguments out;
  out.command = command->command;
  unsigned given = 0;
  for (const std::string_view arg : args.subspan(1)) {
    const std::size_t equals = arg.find('=');
    const std::string_view name =
        arg.starts_with("--") ? arg.substr(2, equals - 2) : std::string_view();
    const OptionRow* option = nullptr;
    for (const OptionRow& row : kOptions) {
      if (row.name == name && (command->takes & row.option) != 0) option = &row;
    }
    if (option == nullptr ||
        (equals != std::string_view::npos) != option->takes_value) {
      return std::string(command->name) + " does not take '" +
             std::string(arg) + "'";
    }
    if ((given & option->option) != 0 ||
        !take(option->option,
              equals == std::string_view::npos ? "" : arg.substr(equals + 1),
              out)) {
      return "wrong or repeated option '" + std::string(arg) + "'";
    }
    given |= option->option;
  }
  if ((given & command->needs) != command->needs) {
    return std::string(command->name) + " needs " +
           (command->needs == kStatus ? "--status=N"
                                      : "--line=L and --character=C");
  }
  if (out.failed && command->command == Command::kAnalyze &&
      !out.build_output) {
    return std::string("--failed goes with --build-output");
  }
  return out;
}

}  // namespace zemuc::web
