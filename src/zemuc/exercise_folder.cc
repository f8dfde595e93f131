#include "zemuc/exercise_folder.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <utility>
#include <variant>

#include "front/source_text.h"
#include "text/encoding.h"

namespace zemuc {
namespace {

namespace fs = std::filesystem;

// The parts a case may have, by the ending of their names.
struct Part {
  std::string_view ending;
  bool folder;
  std::string ExerciseCase::*path;
};
constexpr Part kParts[] = {
    {".in", false, &ExerciseCase::input},
    {".out", false, &ExerciseCase::output},
    {".files", true, &ExerciseCase::files},
    {".expect", true, &ExerciseCase::expect},
};

// The cases of `folder` (tests/ or hidden/), added to `cases`; false after
// a report of a file that is no part of a case.
bool read_cases(const fs::path& folder, bool hidden,
                std::vector<ExerciseCase>& cases, Reporter& reporter) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) return true;
  std::map<std::string, ExerciseCase,
           bool (*)(std::string_view, std::string_view)>
      found(comes_before);
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    const Part* part = nullptr;
    for (const Part& each : kParts) {
      if (name.size() > each.ending.size() && name.ends_with(each.ending) &&
          entry.is_directory() == each.folder) {
        part = &each;
      }
    }
    if (part == nullptr) {
      reporter.error({"{} は例のどの部分でもありません (名前.in, 名前.out, "
                      "名前.files/, 名前.expect/ が使えます)",
                      "{} is no part of a case (NAME.in, NAME.out, "
                      "NAME.files/ and NAME.expect/ are)"},
                     {entry.path().string()});
      return false;
    }
    const std::string case_name =
        name.substr(0, name.size() - part->ending.size());
    ExerciseCase& one = found[case_name];
    one.name = case_name;
    one.hidden = hidden;
    one.*(part->path) = entry.path().string();
  }
  if (error) {
    reporter.error({"{} を読めません: {}", "cannot read {}: {}"},
                   {folder.string(), error.message()});
    return false;
  }
  for (auto& [name, one] : found) cases.push_back(std::move(one));
  return true;
}

}  // namespace

const exercise::CaseSettings& settings_of(const Exercise& exercise,
                                          const ExerciseCase& one) {
  const auto& cases = exercise.settings.cases;
  if (one.hidden) {
    const auto found = cases.find("hidden/" + one.name);
    if (found != cases.end()) return found->second;
  }
  return exercise.settings.for_case(one.name);
}

bool comes_before(std::string_view a, std::string_view b) {
  const auto digits = [](std::string_view s) {
    return !s.empty() && s.size() < 10 &&
           std::all_of(s.begin(), s.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
  };
  if (digits(a) && digits(b) && a.size() != b.size()) {
    return a.size() < b.size();
  }
  return a < b;
}

std::string for_program(std::string_view bytes) {
  if (!is_valid_utf8(bytes)) return std::string(bytes);
  std::optional<std::string> sjis =
      convert_all(bytes, Encoding::kUtf8, Encoding::kShiftJis);
  return sjis ? *sjis : std::string(bytes);
}

std::optional<Exercise> read_exercise(const std::string& folder,
                                      Reporter& reporter) {
  Exercise exercise;
  exercise.folder = folder;
  exercise.id = fs::path(folder).lexically_normal().filename().string();
  if (exercise.id.empty()) {
    exercise.id =
        fs::path(folder).lexically_normal().parent_path().filename().string();
  }
  const std::string toml_path = (fs::path(folder) / "exercise.toml").string();
  const std::optional<std::string> toml = read_file(toml_path, reporter);
  if (!toml) return std::nullopt;
  std::variant<exercise::Settings, exercise::SettingsProblem> read =
      exercise::read_settings(*toml);
  if (const auto* problem = std::get_if<exercise::SettingsProblem>(&read)) {
    reporter.error_at(toml_path, problem->line, problem->column, problem->text,
                      {problem->subject});
    return std::nullopt;
  }
  exercise.settings = std::move(std::get<exercise::Settings>(read));
  if (exercise.settings.title.empty()) exercise.settings.title = exercise.id;
  if (!read_cases(fs::path(folder) / "tests", false, exercise.cases,
                  reporter) ||
      !read_cases(fs::path(folder) / "hidden", true, exercise.cases,
                  reporter)) {
    return std::nullopt;
  }
  if (exercise.cases.empty()) {
    reporter.error({"{} には例がありません (tests/名前.in と tests/名前.out)",
                    "{} has no cases (tests/NAME.in and tests/NAME.out)"},
                   {folder});
    return std::nullopt;
  }
  return exercise;
}

}  // namespace zemuc
