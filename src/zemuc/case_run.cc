#include "zemuc/case_run.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

#include "exercise/judge.h"
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

// The files of `expect` that the program left in `work`, by name, as the
// expected ones are held.
exercise::Texts written_files(const ExerciseCase& one, const std::string& work,
                              exercise::Texts& expected) {
  exercise::Texts written;
  std::error_code error;
  for (auto entry = fs::recursive_directory_iterator(one.expect, error);
       !error && entry != fs::recursive_directory_iterator();
       entry.increment(error)) {
    if (entry->is_directory()) continue;
    const std::string name = fs::relative(entry->path(), one.expect).string();
    const std::string text =
        read_whole_file(entry->path().string()).value_or("");
    if (std::optional<std::string> bytes = read_whole_file(work + "/" + name)) {
      written[name] = as_written(*bytes, text);
    }
    expected[name] = text;
  }
  return written;
}

// A fault that ended the run, told as zemuc run tells it: the checks'
// report, or the signal.
void judge_fault(const CaseRunner& runner, const std::string& reports,
                 const Ended& ended, exercise::Ran& ran) {
  const std::string report = runner.built.reports() ? reports_in(reports) : "";
  if (!report.empty()) {
    Reporter told(runner.language, Encoding::kUtf8,
                  [&ran](std::string_view bytes) { ran.told += bytes; });
    tell_fault("", runner.built.program, runner.built.map,
               runner.built.values_missing, report, write_whole_file, told);
    ran.ending = exercise::Ending::kStopped;
  } else if (ended.signal != 0) {
    ran.told = explain::explain_signal(ended.signal, runner.built.checked,
                                       runner.language, Encoding::kUtf8,
                                       runner.built.checks_possible);
    ran.ending = exercise::Ending::kFault;
  }
}

// The program run in the case's folder: how it ended and what it wrote.
exercise::Ran run_in(const CaseRunner& runner, const std::string& folder,
                     const exercise::CaseSettings& settings, CaseRun& run) {
  exercise::Ran ran;
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
  ran.output = run.output;
  if (captured.error == ETIMEDOUT) {
    ran.ending = exercise::Ending::kTooSlow;
  } else if (!captured.ended && captured.error != EFBIG) {
    ran.ending = exercise::Ending::kNotRun;
    ran.told = std::strerror(captured.error);
  } else if (captured.ended) {
    judge_fault(runner, folder + "/reports", *captured.ended, ran);
  }
  return ran;
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
  exercise::CaseResult about;
  about.name = one.name;
  about.hidden = one.hidden;
  about.number = number;
  if (!one.input.empty()) {
    about.input =
        convert_text(for_program(read_whole_file(one.input).value_or("")),
                     Encoding::kShiftJis, Encoding::kUtf8);
  }
  const std::string folder = runner.scratch + "/case" + std::to_string(number);
  exercise::Ran ran;
  exercise::Expected expected;
  if (std::optional<std::string> trouble = prepare(one, folder)) {
    ran.ending = exercise::Ending::kNotRun;
    ran.told = *trouble;
  } else {
    ran = run_in(runner, folder, settings, run);
  }
  if (!judged) {
    // Only run, for its output to be kept: it passes as its own answer.
    expected.output = ran.output;
  } else if (ran.ending == exercise::Ending::kEnded) {
    expected.output = read_whole_file(one.output).value_or("");
    if (!one.expect.empty()) {
      ran.files = written_files(one, folder + "/work", expected.files);
    }
  }
  run.result = exercise::judge_case(std::move(about), settings, expected, ran);
  return run;
}

}  // namespace zemuc
