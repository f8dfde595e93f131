// The results of a program's run on an exercise's cases, told to the
// learner (one line a case, the first failing sample explained) and given
// as JSON for tools. Text in, text out: running the cases is the caller's.
#ifndef ZEMUC_EXERCISE_RESULTS_H_
#define ZEMUC_EXERCISE_RESULTS_H_

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exercise/compare.h"
#include "text/language.h"

namespace zemuc::exercise {

enum class Outcome {
  kPassed,
  kWrongOutput,  // its output is not the expected one
  kWrongFile,    // a file it was to write is missing or not as expected
  kTooSlow,      // still running at the time limit
  kStopped,      // a run-time check stopped it
  kFault,        // a signal ended it
  kNotRun,       // it could not be started
};

struct CaseResult {
  std::string name;
  bool hidden = false;
  std::size_t number = 0;  // from 1, samples first
  Outcome outcome = Outcome::kNotRun;
  int points = 0;  // what it is worth; earned when it passed
  double time_limit = 0;
  std::string input;  // what was typed, UTF-8
  std::optional<Difference> difference;
  std::string file;           // kWrongFile: the file's name
  bool file_missing = false;  // kWrongFile: it was not written at all
  std::string told;           // a fault told as a run tells it, UTF-8
};

// What zemuc test says, as an error, of a program that does not build.
inline constexpr Text kNotBuilt{
    "プログラムが組み立てられないので、例で動かせません",
    "the program does not build, so no case was run"};

// "○ 1 (例)", "× hidden 3" and, for a failing case, why in a few words;
// with a line end.
std::string case_line(const CaseResult& result, Language language);

// What a learner is shown of a failing case beneath its line: for a
// sample, what was typed and where the output first differs, or the fault
// as told; for a hidden case nothing beyond its line.
std::string case_explanation(const CaseResult& result, Language language);

// The closing line: how many passed and the points.
std::string summary_line(std::span<const CaseResult> results,
                         Language language);

// The whole report as a learner reads it: every case's line, the first
// failing sample explained, the summary.
std::string results_text(std::span<const CaseResult> results,
                         Language language);

// The same as JSON: {"built":…, "passed":…, "points":…, "cases":[…]}, a
// hidden case without its input or output. `build_error` is what was said
// of a program that does not build (built false).
std::string results_json(std::span<const CaseResult> results, bool built,
                         const std::string& build_error);

// One case's object of results_json's "cases", as JSON text.
std::string case_result_json(const CaseResult& result);

// A case back from that object: all its line and explanation need, but
// the time limit, which the object does not hold (given instead). Nothing
// when it is no such object.
std::optional<CaseResult> case_result_from_json(std::string_view json,
                                                double time_limit);

}  // namespace zemuc::exercise

#endif  // ZEMUC_EXERCISE_RESULTS_H_
