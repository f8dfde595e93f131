// An exercise's settings, from the text of its exercise.toml: the title,
// the statement's file, and how each case is run and judged. Text in, data
// out: reading the folder is the caller's.
#ifndef ZEMUC_EXERCISE_SETTINGS_H_
#define ZEMUC_EXERCISE_SETTINGS_H_

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "text/language.h"

namespace zemuc::exercise {

// How a program's output is held to the expected one.
enum class Compare {
  kExact,   // byte for byte
  kLines,   // spaces at line ends and a missing last line end ignored
  kTokens,  // the words between blanks
};

// What a case is run and judged by.
struct CaseSettings {
  double time_limit = 2;  // seconds
  Compare compare = Compare::kLines;
  bool fullwidth = false;  // full-width letters and digits as half-width
  int points = 1;
};

struct Settings {
  std::string title;  // empty: the folder's name stands for it
  std::string statement = "task.md";
  CaseSettings defaults;
  // Cases named under [cases.NAME], the defaults with their own changes.
  std::map<std::string, CaseSettings, std::less<>> cases;

  const CaseSettings& for_case(std::string_view name) const;
};

// What is wrong with a settings file, at its line and column (0: none
// known); the subject fills the text's {}.
struct SettingsProblem {
  std::size_t line = 0;
  std::size_t column = 0;
  Text text;
  std::string subject;
};

// The TOML reader (read_settings.cc) is built natively only.
std::variant<Settings, SettingsProblem> read_settings(std::string_view toml);

// The name a comparison goes by in exercise.toml, and back.
std::string_view compare_name(Compare compare);
std::optional<Compare> compare_named(std::string_view name);

}  // namespace zemuc::exercise

#endif  // ZEMUC_EXERCISE_SETTINGS_H_
