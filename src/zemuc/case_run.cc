#include "zemuc/case_run.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

#include "explain/fault.h"
#include "front/fault_report.h"
#include "front/statuses.h"
#include "io/files.h"
#include "sys/disk.h"
#include "sys/process.h"
#include "text/encoding.h"
#include "zemuc/scratch.h"

namespace zemuc {
namespace {

namespace fs = std::filesystem;
using exercise::Outcome;

// The most a case's program may write: a loop that prints for ever is
// ended long before it fills the memory.
constexpr std::size_t kOutputLimit = 16 * 1024 * 1024;

// Copies the folder `from` into `to`, each text file converted as the
// program reads it; false with errno set.
bool copy_converted(const fs::path& from, const fs::path& to) {
  std::error_code error;
  for (auto entry = fs::recursive_directory_iterator(from, error);
       !error && entry != fs::recursive_directory_iterator();
       entry.increment(error)) {
    const fs::path target = to / fs::relative(entry->path(), from);
    if (entry->is_directory()) {
      fs::create_directories(target, error);
      continue;
    }
    const std::optional<std::string> bytes =
        read_whole_file(entry->path().string());
    if (!bytes || !write_whole_file(target.string(), for_program(*bytes))) {
      return false;
    }
  }
  if (error) errno = error.value();
  return !error;
}

// The case's folder: work/ with its files, reports/ for the checks, and
// the input file; the error's text when it cannot be made.
std::optional<std::string> prepare(const ExerciseCase& one,
                                   const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder + "/work", error);
  if (!error) fs::create_directories(folder + "/reports", error);
  if (error) return error.message();
  if (!one.files.empty() && !copy_converted(one.files, folder + "/work")) {
    return std::string(std::strerror(errno));
  }
  std::string input;
  if (!one.input.empty()) {
    const std::optional<std::string> bytes = read_whole_file(one.input);
    if (!bytes) return one.input + ": " + std::strerror(errno);
    input = for_program(*bytes);
  }
  if (!write_whole_file(folder + "/input", input)) {
    return std::string(std::strerror(errno));
  }
  return std::nullopt;
}

// A file the program wrote, as the folder's files are held: UTF-8 where
// the expected file is text.
std::string as_written(const std::string& bytes, const std::string& expected) {
  return is_valid_utf8(expected)
             ? convert_text(bytes, Encoding::kShiftJis, Encoding::kUtf8)
             : bytes;
}

// Holds every file of `expect` to the one of that name in `work`.
void judge_files(const ExerciseCase& one, const std::string& work,
                 const exercise::CaseSettings& settings,
                 exercise::CaseResult& result) {
  std::error_code error;
  for (auto entry = fs::recursive_directory_iterator(one.expect, error);
       !error && entry != fs::recursive_directory_iterator();
       entry.increment(error)) {
    if (entry->is_directory()) continue;
    const std::string name = fs::relative(entry->path(), one.expect).string();
    const std::string expected =
        read_whole_file(entry->path().string()).value_or("");
    const std::optional<std::string> written =
        read_whole_file(work + "/" + name);
    std::optional<exercise::Difference> difference;
    if (written) {
      difference = exercise::first_difference(
          expected, as_written(*written, expected), settings);
    }
    if (!written || difference) {
      result.outcome = Outcome::kWrongFile;
      result.file = name;
      result.file_missing = !written;
      if (written) result.difference = std::move(difference);
      return;
    }
  }
}

// A fault that ended the run, told as zemuc run tells it: the checks'
// report, or the signal.
void judge_fault(const CaseRunner& runner, const std::string& reports,
                 const Ended& ended, exercise::CaseResult& result) {
  const std::string report = runner.built.reports() ? reports_in(reports) : "";
  if (!report.empty()) {
    Reporter told(runner.language, Encoding::kUtf8,
                  [&result](std::string_view bytes) { result.told += bytes; });
    tell_fault("", runner.built.program, runner.built.map,
               runner.built.values_missing, report, write_whole_file, told);
    result.outcome = Outcome::kStopped;
  } else if (ended.signal != 0) {
    result.told = explain::explain_signal(ended.signal, runner.built.checked,
                                          runner.language, Encoding::kUtf8,
                                          runner.built.checks_possible);
    result.outcome = Outcome::kFault;
  }
}

}  // namespace

std::variant<CasesProgram, int> build_for_cases(const std::string& path,
                                                const std::string& source,
                                                Reporter& reporter) {
  std::optional<ScratchFolder> folder = scratch_folder(reporter);
  if (!folder || !serves_a_run(folder->path(), true, reporter)) {
    return kExitBuildFailed;
  }
  Command command;
  command.verb = Verb::kRun;
  command.source = path;
  const std::string program = folder->path() + "/program";
  std::variant<BuiltProgram, int> built = translate_and_build(
      command, source, Names{"", program}, program, folder->path(), reporter);
  if (const int* status = std::get_if<int>(&built)) return *status;
  return CasesProgram{std::move(*folder),
                      std::move(std::get<BuiltProgram>(built)), program};
}

CaseRun run_case(const CaseRunner& runner, const Exercise& exercise,
                 const ExerciseCase& one, std::size_t number, bool judged) {
  const exercise::CaseSettings& settings = settings_of(exercise, one);
  CaseRun run;
  exercise::CaseResult& result = run.result;
  result.name = one.name;
  result.hidden = one.hidden;
  result.number = number;
  result.points = settings.points;
  result.time_limit = settings.time_limit;
  if (!one.input.empty()) {
    result.input =
        convert_text(for_program(read_whole_file(one.input).value_or("")),
                     Encoding::kShiftJis, Encoding::kUtf8);
  }
  const std::string folder = runner.scratch + "/case" + std::to_string(number);
  if (std::optional<std::string> trouble = prepare(one, folder)) {
    result.told = *trouble;
    return run;
  }
  const auto started = std::chrono::steady_clock::now();
  const Captured captured = run_and_capture(
      {runner.program},
      check_settings(runner.built.checked, runner.built.reports(),
                     folder + "/reports"),
      {},
      std::chrono::milliseconds(
          static_cast<long long>(settings.time_limit * 1000)),
      {folder + "/input", folder + "/work", kOutputLimit});
  run.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started)
          .count();
  run.interrupted = captured.interrupted;
  run.output =
      convert_text(captured.output, Encoding::kShiftJis, Encoding::kUtf8);
  if (captured.error == ETIMEDOUT) {
    result.outcome = Outcome::kTooSlow;
    return run;
  }
  if (!captured.ended && captured.error != EFBIG) {
    result.told = std::strerror(captured.error);
    return run;
  }
  result.outcome = Outcome::kPassed;
  if (captured.ended) {
    judge_fault(runner, folder + "/reports", *captured.ended, result);
  }
  if (result.outcome != Outcome::kPassed || !judged) return run;
  const std::string expected = read_whole_file(one.output).value_or("");
  result.difference =
      exercise::first_difference(expected, run.output, settings);
  if (result.difference) {
    result.outcome = Outcome::kWrongOutput;
  } else if (!one.expect.empty()) {
    judge_files(one, folder + "/work", settings, result);
  }
  return run;
}

}  // namespace zemuc
