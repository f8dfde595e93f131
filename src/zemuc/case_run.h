// One case of an exercise run: the built program in a scratch folder of
// its own with the case's files, what is typed from the case's input, its
// time limit and its checks, and the result judged.
#ifndef ZEMUC_ZEMUC_CASE_RUN_H_
#define ZEMUC_ZEMUC_CASE_RUN_H_

#include <cstddef>
#include <string>
#include <variant>

#include "exercise/results.h"
#include "sys/disk.h"
#include "text/language.h"
#include "zemuc/built.h"
#include "zemuc/exercise_folder.h"

namespace zemuc {

// What every case of one program runs with.
struct CaseRunner {
  const BuiltProgram& built;
  std::string program;  // its executable
  std::string scratch;  // a folder of zemuc's, where each case gets its own
  Language language;
};

struct CaseRun {
  exercise::CaseResult result;
  std::string output;  // what the program wrote, UTF-8
  double seconds = 0;  // how long it ran
  // An ending signal came while it ran: zemuc is to stop at once.
  bool interrupted = false;
};

// A program built, with its run-time checks, for its cases to run in the
// scratch folder that holds it.
struct CasesProgram {
  ScratchFolder folder;
  BuiltProgram built;
  std::string program;  // the executable
};

// The source at `path` (its bytes already the translator's, `source`)
// translated and built, or the status of why not after its report. The
// caller holds the ending signals back.
std::variant<CasesProgram, int> build_for_cases(const std::string& path,
                                                const std::string& source,
                                                Reporter& reporter);

// Runs `one`, case number `number` of `exercise`; without its expected
// output (`judged` false) only runs it, for the output to be kept.
CaseRun run_case(const CaseRunner& runner, const Exercise& exercise,
                 const ExerciseCase& one, std::size_t number, bool judged);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_CASE_RUN_H_
