// The learner's zemuc test and the teacher's zemuc exercise: a program run
// on an exercise's cases and judged, an exercise checked with its model
// answer, its missing outputs written, exercises packed for the page.
#ifndef ZEMUC_ZEMUC_EXERCISE_COMMANDS_H_
#define ZEMUC_ZEMUC_EXERCISE_COMMANDS_H_

#include <functional>
#include <string_view>

#include "front/reporter.h"
#include "zemuc/command_line.h"

namespace zemuc {

// Where results go: zemuc's standard output.
using ResultWriter = std::function<void(std::string_view)>;

// Statuses of test and exercise: 0 when every case passed (every folder
// is sound), kExitSomeFailed when not, kExitBadExercise when an exercise
// cannot be read.
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitBadExercise = 2;

int test_program(const Command& command, Reporter& reporter,
                 const ResultWriter& out);

int exercise_command(const Command& command, Reporter& reporter,
                     const ResultWriter& out);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_EXERCISE_COMMANDS_H_
