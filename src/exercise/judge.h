// A case judged once its program has run: how the run ended, its output
// and the files it left held to the expected ones. Text in, a result out:
// running the program and reading its folder are the caller's, so that
// zemuc test and the playground judge with the same code.
#ifndef ZEMUC_EXERCISE_JUDGE_H_
#define ZEMUC_EXERCISE_JUDGE_H_

#include <functional>
#include <map>
#include <string>

#include "exercise/results.h"
#include "exercise/settings.h"

namespace zemuc::exercise {

using Texts = std::map<std::string, std::string, std::less<>>;

// What a case expects. `hashed`: each text is the SHA-256 hex of the
// expected text as the case's comparison normalises it (a hidden case
// packed for the page, whose answers the learner must not read).
struct Expected {
  std::string output;
  Texts files;  // the files the program is to write, by name
  bool hashed = false;
};

enum class Ending {
  kEnded,    // on its own, whatever its status
  kStopped,  // a run-time check stopped it
  kFault,    // a signal ended it
  kTooSlow,  // still running at the time limit
  kNotRun,   // it could not be started
};

// How a run went. Its output and files are UTF-8 text, or their hashes
// as `Expected` has them when it is hashed.
struct Ran {
  Ending ending = Ending::kEnded;
  std::string told;    // the fault, or why it did not run, as told
  std::string output;  // standard output
  Texts files;         // of the expected files, those it left
};

// The result of the case that `about` names (its name, hidden, number,
// input), its points and time limit from `settings`.
CaseResult judge_case(CaseResult about, const CaseSettings& settings,
                      const Expected& expected, const Ran& ran);

}  // namespace zemuc::exercise

#endif  // ZEMUC_EXERCISE_JUDGE_H_
