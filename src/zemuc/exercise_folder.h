// An exercise folder as a teacher writes it: exercise.toml, the statement,
// the model answer, and the cases of tests/ (samples) and hidden/, each
// NAME.in, NAME.out, NAME.files/ and NAME.expect/.
#ifndef ZEMUC_ZEMUC_EXERCISE_FOLDER_H_
#define ZEMUC_ZEMUC_EXERCISE_FOLDER_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exercise/settings.h"
#include "front/reporter.h"

namespace zemuc {

// One case: the paths of its parts, empty where it has none.
struct ExerciseCase {
  std::string name;
  bool hidden = false;
  std::string input;   // NAME.in: what is typed
  std::string output;  // NAME.out: the output expected
  std::string files;   // NAME.files/: present before the run
  std::string expect;  // NAME.expect/: to be written by the program
};

struct Exercise {
  std::string folder;
  std::string id;  // the folder's own name
  exercise::Settings settings;
  std::vector<ExerciseCase> cases;  // samples first, each part by name
};

// The exercise in `folder`, or nothing after a report of what is wrong:
// no exercise.toml, a setting wrong (at its file:line:column), a file of
// tests/ or hidden/ that is no part of a case, no case at all.
std::optional<Exercise> read_exercise(const std::string& folder,
                                      Reporter& reporter);

// The settings of a case: those of [cases."hidden/NAME"] for a hidden
// case that has them, else of [cases.NAME], else the exercise's.
const exercise::CaseSettings& settings_of(const Exercise& exercise,
                                          const ExerciseCase& one);

// Case names in the order a person counts them: "2" before "10".
bool comes_before(std::string_view a, std::string_view b);

// A text file of the folder as the program reads it: UTF-8 converted to
// Shift-JIS; anything else (already Shift-JIS, or not text) as it is.
std::string for_program(std::string_view bytes);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_EXERCISE_FOLDER_H_
