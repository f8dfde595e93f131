#include "exercise/judge.h"

#include <optional>
#include <string_view>
#include <utility>

#include "exercise/compare.h"

namespace zemuc::exercise {
namespace {

constexpr std::pair<Ending, Outcome> kEndings[] = {
    {Ending::kEnded, Outcome::kPassed},  {Ending::kStopped, Outcome::kStopped},
    {Ending::kFault, Outcome::kFault},   {Ending::kTooSlow, Outcome::kTooSlow},
    {Ending::kNotRun, Outcome::kNotRun},
};

Outcome outcome_of(Ending ending) {
  for (const auto& [which, outcome] : kEndings) {
    if (which == ending) return outcome;
  }
  return Outcome::kNotRun;
}

// Where `got` differs from `expected`; hashes tell only that they differ.
std::optional<Difference> difference(std::string_view expected,
                                     std::string_view got, bool hashed,
                                     const CaseSettings& settings) {
  if (!hashed) return first_difference(expected, got, settings);
  if (expected == got) return std::nullopt;
  return Difference{};
}

// The first expected file missing or not as expected, in name order.
void judge_files(const Expected& expected, const Ran& ran,
                 const CaseSettings& settings, CaseResult& result) {
  for (const auto& [name, text] : expected.files) {
    const auto written = ran.files.find(name);
    std::optional<Difference> different;
    if (written != ran.files.end()) {
      different = difference(text, written->second, expected.hashed, settings);
      if (!different) continue;
    }
    result.outcome = Outcome::kWrongFile;
    result.file = name;
    result.file_missing = written == ran.files.end();
    result.difference = std::move(different);
    return;
  }
}

}  // namespace

CaseResult judge_case(CaseResult about, const CaseSettings& settings,
                      const Expected& expected, const Ran& ran) {
  CaseResult result = std::move(about);
  result.points = settings.points;
  result.time_limit = settings.time_limit;
  result.outcome = outcome_of(ran.ending);
  if (ran.ending != Ending::kTooSlow) result.told = ran.told;
  if (result.outcome != Outcome::kPassed) return result;
  result.difference =
      difference(expected.output, ran.output, expected.hashed, settings);
  if (result.difference) {
    result.outcome = Outcome::kWrongOutput;
  } else {
    judge_files(expected, ran, settings, result);
  }
  return result;
}

}  // namespace zemuc::exercise
