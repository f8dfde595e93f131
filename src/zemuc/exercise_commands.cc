#include "zemuc/exercise_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "exercise/results.h"
#include "front/source_text.h"
#include "sys/disk.h"
#include "sys/signals.h"
#include "text/encoding.h"
#include "zemuc/case_run.h"
#include "zemuc/exercise_folder.h"
#include "zemuc/exercise_pack.h"

namespace zemuc {
namespace {

namespace fs = std::filesystem;
using exercise::Outcome;

// Where a case of an exercise stands, as a teacher names it.
std::string case_path(const Exercise& exercise, const ExerciseCase& one) {
  return (fs::path(exercise.folder) / (one.hidden ? "hidden" : "tests") /
          one.name)
      .string();
}

// Every case must have its expected output to be judged; false after a
// report of each that has not.
bool outputs_present(const Exercise& exercise, Reporter& reporter) {
  bool present = true;
  for (const ExerciseCase& one : exercise.cases) {
    if (!one.output.empty()) continue;
    reporter.error({"{}.out がありません (zemuc exercise outputs で模範解答から"
                    "書けます)",
                    "{}.out is missing (zemuc exercise outputs writes it "
                    "from the model answer)"},
                   {case_path(exercise, one)});
    present = false;
  }
  return present;
}

// A per-case setting for a case the folder does not have is likely a
// misspelt name; false after a report of each.
bool settings_name_cases(const Exercise& exercise, Reporter& reporter) {
  bool named = true;
  for (const auto& [name, settings] : exercise.settings.cases) {
    bool found = false;
    for (const ExerciseCase& one : exercise.cases) {
      found |= one.name == name || (one.hidden && "hidden/" + one.name == name);
    }
    if (found) continue;
    reporter.error({"{}/exercise.toml: [cases.{}] の例がありません",
                    "{}/exercise.toml: [cases.{}] names no case"},
                   {exercise.folder, name});
    named = false;
  }
  return named;
}

// The source's bytes for the translator, and the program built from them;
// the status after a report when it cannot be.
std::variant<CasesProgram, int> load_and_build(const std::string& path,
                                               Reporter& reporter) {
  Command command;
  command.source = path;
  const std::optional<std::string> source = load_source(command, reporter);
  if (!source) return kExitSomeFailed;
  return build_for_cases(path, *source, reporter);
}

}  // namespace

int test_program(const Command& command, Reporter& reporter,
                 const ResultWriter& out) {
  const std::optional<Exercise> exercise =
      read_exercise(command.exercise, reporter);
  if (!exercise || !outputs_present(*exercise, reporter)) {
    return kExitBadExercise;
  }
  // What is said of a program that does not build goes to the terminal as
  // it is said, and once into the JSON.
  std::string said;
  Reporter building(reporter.language(), reporter.terminal(),
                    [&](std::string_view bytes) {
                      reporter.write(bytes);
                      said += bytes;
                    });
  const HeldSignals held;
  std::variant<CasesProgram, int> prepared =
      load_and_build(command.source, building);
  if (const int* status = std::get_if<int>(&prepared)) {
    if (*status == kExitInterrupted) return *status;
    if (command.json) {
      out(exercise::results_json(
          {}, false, convert_text(said, reporter.terminal(), Encoding::kUtf8)));
    } else {
      reporter.error(exercise::kNotBuilt);
    }
    return kExitSomeFailed;
  }
  const CasesProgram& program = std::get<CasesProgram>(prepared);
  const CaseRunner runner{program.built, program.program, program.folder.path(),
                          reporter.language()};
  std::vector<exercise::CaseResult> results;
  bool all_passed = true;
  for (const ExerciseCase& one : exercise->cases) {
    CaseRun run = run_case(runner, *exercise, one, results.size() + 1, true);
    if (run.interrupted) return kExitInterrupted;
    all_passed &= run.result.outcome == Outcome::kPassed;
    results.push_back(std::move(run.result));
  }
  out(command.json
          ? exercise::results_json(results, true, "")
          : convert_text(exercise::results_text(results, reporter.language()),
                         Encoding::kUtf8, reporter.terminal()));
  return all_passed ? 0 : kExitSomeFailed;
}

namespace {

// A near limit leaves a slower computer of a learner no room.
constexpr double kCloseToLimit = 0.5;

std::string two_places(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", seconds);
  return text;
}

// The model answer on one case: false after a report of what is wrong.
bool answer_passes(const CaseRunner& runner, const Exercise& exercise,
                   const ExerciseCase& one, std::size_t number,
                   Reporter& reporter, bool& interrupted) {
  CaseRun run = run_case(runner, exercise, one, number, true);
  interrupted = run.interrupted;
  exercise::CaseResult& result = run.result;
  if (result.outcome != Outcome::kPassed) {
    reporter.error({"{}: 模範解答が通りません", "{}: the model answer fails"},
                   {case_path(exercise, one)});
    // The teacher sees a hidden case whole.
    result.hidden = false;
    reporter.write(convert_text(
        exercise::case_line(result, reporter.language()) +
            exercise::case_explanation(result, reporter.language()),
        Encoding::kUtf8, reporter.terminal()));
    return false;
  }
  if (run.seconds > kCloseToLimit * result.time_limit) {
    reporter.error({"{}: 模範解答が {} 秒かかり、制限の {} 秒に近すぎます",
                    "{}: the model answer takes {} s, too close to the "
                    "limit of {} s"},
                   {case_path(exercise, one), two_places(run.seconds),
                    two_places(result.time_limit)});
    return false;
  }
  return true;
}

std::string answer_of(const std::string& folder) {
  return (fs::path(folder) / "answer.zem").string();
}

// One folder checked; false after a report of each thing wrong.
bool check_folder(const std::string& folder, Reporter& reporter,
                  const ResultWriter& out, bool& interrupted) {
  const std::optional<Exercise> exercise = read_exercise(folder, reporter);
  if (!exercise) return false;
  bool sound = outputs_present(*exercise, reporter);
  sound &= settings_name_cases(*exercise, reporter);
  const std::string statement =
      (fs::path(folder) / exercise->settings.statement).string();
  if (!fs::is_regular_file(statement)) {
    reporter.error({"問題文 {} がありません", "the statement {} is missing"},
                   {statement});
    sound = false;
  }
  std::variant<CasesProgram, int> prepared =
      load_and_build(answer_of(folder), reporter);
  if (const int* status = std::get_if<int>(&prepared)) {
    interrupted = *status == kExitInterrupted;
    return false;
  }
  const CasesProgram& program = std::get<CasesProgram>(prepared);
  const CaseRunner runner{program.built, program.program, program.folder.path(),
                          reporter.language()};
  std::size_t number = 0;
  for (const ExerciseCase& one : exercise->cases) {
    ++number;
    if (one.output.empty()) continue;
    sound &=
        answer_passes(runner, *exercise, one, number, reporter, interrupted);
    if (interrupted) return false;
  }
  if (sound) {
    out(reporter.format({"{}: よし ({} 個の例)\n", "{}: ok ({} cases)\n"},
                        {folder, std::to_string(exercise->cases.size())}));
  }
  return sound;
}

// The missing outputs of one folder written from its model answer.
int write_outputs(const std::string& folder, Reporter& reporter,
                  const ResultWriter& out) {
  const std::optional<Exercise> exercise = read_exercise(folder, reporter);
  if (!exercise) return kExitBadExercise;
  std::variant<CasesProgram, int> prepared =
      load_and_build(answer_of(folder), reporter);
  if (const int* status = std::get_if<int>(&prepared)) return *status;
  const CasesProgram& program = std::get<CasesProgram>(prepared);
  const CaseRunner runner{program.built, program.program, program.folder.path(),
                          reporter.language()};
  int status = 0;
  std::size_t number = 0;
  for (const ExerciseCase& one : exercise->cases) {
    ++number;
    if (!one.output.empty()) continue;
    CaseRun run = run_case(runner, *exercise, one, number, false);
    if (run.interrupted) return kExitInterrupted;
    const std::string path = case_path(*exercise, one) + ".out";
    if (run.result.outcome != Outcome::kPassed) {
      run.result.hidden = false;
      reporter.error({"{}: 模範解答がうまく動きません",
                      "{}: the model answer does not run well"},
                     {path});
      reporter.write(convert_text(
          exercise::case_line(run.result, reporter.language()) +
              exercise::case_explanation(run.result, reporter.language()),
          Encoding::kUtf8, reporter.terminal()));
      status = kExitSomeFailed;
    } else if (!write_whole_file(path,
                                 exercise::without_closing_line(run.output))) {
      reporter.error(kCannotWrite, {path, std::strerror(errno)});
      status = kExitSomeFailed;
    } else {
      out(reporter.format({"{} を書きました\n", "wrote {}\n"}, {path}));
    }
  }
  return status;
}

}  // namespace

namespace {

// A folder as named, without the slashes a shell's completion leaves.
std::string folder_named(std::string folder) {
  while (folder.size() > 1 && folder.ends_with('/')) folder.pop_back();
  return folder;
}

}  // namespace

int exercise_command(const Command& command, Reporter& reporter,
                     const ResultWriter& out) {
  const HeldSignals held;
  std::vector<std::string> folders;
  for (const std::string& folder : command.folders) {
    folders.push_back(folder_named(folder));
  }
  switch (command.task) {
    case ExerciseTask::kOutputs:
      return write_outputs(folders.front(), reporter, out);
    case ExerciseTask::kPack:
      return pack_exercises(folders, command.output, reporter);
    case ExerciseTask::kCheck:
      break;
  }
  int status = 0;
  for (const std::string& folder : folders) {
    bool interrupted = false;
    if (!check_folder(folder, reporter, out, interrupted)) {
      status = kExitSomeFailed;
    }
    if (interrupted) return kExitInterrupted;
  }
  return status;
}

}  // namespace zemuc
