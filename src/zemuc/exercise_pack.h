// Exercises packed into the one JSON file the page reads: each exercise's
// statement, starter and settings, its sample cases in clear, its hidden
// cases with their input but their expected output only as a SHA-256 of
// it normalised as the exercise compares.
#ifndef ZEMUC_ZEMUC_EXERCISE_PACK_H_
#define ZEMUC_ZEMUC_EXERCISE_PACK_H_

#include <string>
#include <string_view>
#include <vector>

#include "front/reporter.h"

namespace zemuc {

// Writes the exercises of `folders` to `output`; 0, or a status after a
// report of a folder that cannot be read or a file that cannot be written.
int pack_exercises(const std::vector<std::string>& folders,
                   const std::string& output, Reporter& reporter);

// The SHA-256 of `bytes` in lower-case hexadecimal.
std::string sha256_hex(std::string_view bytes);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_EXERCISE_PACK_H_
