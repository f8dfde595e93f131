// The TOML reader of exercise.toml, apart from the settings themselves so
// that what needs only the settings (the playground) builds without it.
#include <toml++/toml.h>

#include <cmath>
#include <optional>
#include <sstream>
#include <utility>

#include "exercise/settings.h"

namespace zemuc::exercise {
namespace {

enum class Problem {
  kMalformed,     // subject: what the TOML reader says
  kUnknownKey,    // subject: the key
  kNeedsText,     // subject: the key
  kNeedsNumber,   // subject: the key
  kNeedsWhole,    // subject: the key
  kNeedsBoolean,  // subject: the key
  kNeedsTable,    // subject: the key
  kBadCompare,    // subject: the value
  kBadTimeLimit,  // subject: the value
  kBadPoints,     // subject: the value
};

// One row for each thing a teacher may get wrong.
constexpr std::pair<Problem, Text> kProblemTexts[] = {
    {Problem::kMalformed, {"TOML として読めません: {}", "not valid TOML: {}"}},
    {Problem::kUnknownKey,
     {"知らない項目です: {} (title, statement, time_limit, compare, "
      "fullwidth, points, cases が使えます)",
      "unknown key '{}' (title, statement, time_limit, compare, fullwidth, "
      "points and cases are known)"}},
    {Problem::kNeedsText,
     {"{} には \"...\" の文字列を書きます", "{} takes a string in quotes"}},
    {Problem::kNeedsNumber, {"{} には数を書きます", "{} takes a number"}},
    {Problem::kNeedsWhole,
     {"{} には整数を書きます", "{} takes a whole number"}},
    {Problem::kNeedsBoolean,
     {"{} には true か false を書きます", "{} takes true or false"}},
    {Problem::kNeedsTable,
     {"{} は [cases.名前] の表にします", "{} must be a table, [cases.NAME]"}},
    {Problem::kBadCompare,
     {"compare は exact, lines, tokens のどれかです (\"{}\" ではなく)",
      "compare is one of exact, lines and tokens, not \"{}\""}},
    {Problem::kBadTimeLimit,
     {"time_limit は 0 より大きく 60 以下の秒数です ({} ではなく)",
      "time_limit is a number of seconds above 0 and at most 60, not {}"}},
    {Problem::kBadPoints,
     {"points は 0 以上の整数です ({} ではなく)",
      "points is a whole number of 0 or more, not {}"}},
};

// The longest limit a case may set: a class waits for every case.
constexpr double kLongestLimit = 60;

Text text_of(Problem problem) {
  for (const auto& [which, text] : kProblemTexts) {
    if (which == problem) return text;
  }
  return {"", ""};
}

SettingsProblem problem_at(const toml::source_region& where, Problem problem,
                           std::string subject) {
  return {where.begin.line, where.begin.column, text_of(problem),
          std::move(subject)};
}

// A number as a teacher wrote it, near enough: 2, 0.5, -1.
std::string number_text(double number) {
  std::ostringstream out;
  out << number;
  return out.str();
}

// The place of a key, or of its value where the key has none.
const toml::source_region& place_of(const toml::key& key,
                                    const toml::node& node) {
  return key.source().begin.line != 0 ? key.source() : node.source();
}

// Sets one of the settings a case may change; nothing when it is done,
// false (no problem) when `key` is no such setting.
std::optional<SettingsProblem> case_setting(const toml::key& key,
                                            const toml::node& node,
                                            CaseSettings& settings,
                                            bool& known) {
  known = true;
  const std::string name(key.str());
  const toml::source_region& where = node.source();
  if (name == "time_limit") {
    const std::optional<double> seconds = node.value<double>();
    if (!seconds || node.is_boolean()) {
      return problem_at(where, Problem::kNeedsNumber, name);
    }
    if (!(*seconds > 0 && *seconds <= kLongestLimit)) {
      return problem_at(where, Problem::kBadTimeLimit, number_text(*seconds));
    }
    settings.time_limit = *seconds;
  } else if (name == "compare") {
    const auto* text = node.as_string();
    if (text == nullptr) return problem_at(where, Problem::kNeedsText, name);
    const std::optional<Compare> compare = compare_named(text->get());
    if (!compare) return problem_at(where, Problem::kBadCompare, text->get());
    settings.compare = *compare;
  } else if (name == "fullwidth") {
    const auto* flag = node.as_boolean();
    if (flag == nullptr) return problem_at(where, Problem::kNeedsBoolean, name);
    settings.fullwidth = flag->get();
  } else if (name == "points") {
    const auto* whole = node.as_integer();
    if (whole == nullptr) return problem_at(where, Problem::kNeedsWhole, name);
    if (whole->get() < 0 || whole->get() > 1000000) {
      return problem_at(where, Problem::kBadPoints,
                        std::to_string(whole->get()));
    }
    settings.points = static_cast<int>(whole->get());
  } else {
    known = false;
  }
  return std::nullopt;
}

// The [cases] table: each entry a table of its own changes to `defaults`.
std::optional<SettingsProblem> read_cases(const toml::key& key,
                                          const toml::node& node,
                                          Settings& settings) {
  const toml::table* cases = node.as_table();
  if (cases == nullptr) {
    return problem_at(place_of(key, node), Problem::kNeedsTable, "cases");
  }
  for (const auto& [name, entry] : *cases) {
    const toml::table* changes = entry.as_table();
    if (changes == nullptr) {
      return problem_at(place_of(name, entry), Problem::kNeedsTable,
                        "cases." + std::string(name.str()));
    }
    CaseSettings own = settings.defaults;
    for (const auto& [setting, value] : *changes) {
      bool known = false;
      if (auto problem = case_setting(setting, value, own, known)) {
        return problem;
      }
      if (!known) {
        return problem_at(place_of(setting, value), Problem::kUnknownKey,
                          std::string(setting.str()));
      }
    }
    settings.cases.emplace(std::string(name.str()), own);
  }
  return std::nullopt;
}

std::optional<SettingsProblem> text_setting(const toml::key& key,
                                            const toml::node& node,
                                            std::string& out) {
  const auto* text = node.as_string();
  if (text == nullptr) {
    return problem_at(node.source(), Problem::kNeedsText,
                      std::string(key.str()));
  }
  out = text->get();
  return std::nullopt;
}

}  // namespace

std::variant<Settings, SettingsProblem> read_settings(std::string_view toml) {
  toml::table table;
  try {
    table = toml::parse(toml);
  } catch (const toml::parse_error& error) {
    return problem_at(error.source(), Problem::kMalformed,
                      std::string(error.description()));
  }
  Settings settings;
  // The defaults come first, whatever their order in the file: a case's
  // changes start from them.
  for (const auto& [key, node] : table) {
    bool known = false;
    if (auto problem = case_setting(key, node, settings.defaults, known)) {
      return *problem;
    }
    if (known) continue;
    std::optional<SettingsProblem> problem;
    if (key.str() == "title") {
      problem = text_setting(key, node, settings.title);
    } else if (key.str() == "statement") {
      problem = text_setting(key, node, settings.statement);
    } else if (key.str() != "cases") {
      problem = problem_at(place_of(key, node), Problem::kUnknownKey,
                           std::string(key.str()));
    }
    if (problem) return *problem;
  }
  if (const toml::node* cases = table.get("cases")) {
    for (const auto& [key, node] : table) {
      if (key.str() != "cases") continue;
      if (auto problem = read_cases(key, *cases, settings)) return *problem;
    }
  }
  return settings;
}

}  // namespace zemuc::exercise
