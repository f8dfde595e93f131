// A place as tools write it before their words: "FILE:LINE:COLUMN" or
// "FILE:LINE", the file name free to hold colons of its own.
#ifndef ZEMUC_EXPLAIN_FILE_PLACE_H_
#define ZEMUC_EXPLAIN_FILE_PLACE_H_

#include <cstddef>
#include <optional>
#include <string_view>

#include "text/words.h"

namespace zemuc::explain {

struct FilePlace {
  std::string_view file;
  std::size_t line = 0;
  std::size_t column = 0;  // 0 when only a line is named
};

// The place `where` names: the numbers after its last one or two colons,
// and the file before them. Nothing when no number follows its last colon
// (a file alone, a module, an object).
inline std::optional<FilePlace> file_place(std::string_view where) {
  std::size_t numbers[2] = {0, 0};
  int found = 0;
  while (found < 2) {
    const std::size_t colon = where.rfind(':');
    if (colon == std::string_view::npos) break;
    const auto number = number_of<std::size_t>(where.substr(colon + 1));
    if (!number) break;
    numbers[found++] = *number;
    where = where.substr(0, colon);
  }
  if (found == 0) return std::nullopt;
  if (found == 1) return FilePlace{where, numbers[0], 0};
  return FilePlace{where, numbers[1], numbers[0]};
}

}  // namespace zemuc::explain

#endif  // ZEMUC_EXPLAIN_FILE_PLACE_H_
