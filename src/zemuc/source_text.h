// Reading a source for the companion: Shift-JIS as the language defines, or
// UTF-8 as Linux editors save it, converted in memory.
#ifndef ZEMUC_ZEMUC_SOURCE_TEXT_H_
#define ZEMUC_ZEMUC_SOURCE_TEXT_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "zemuc/reporter.h"

namespace zemuc {

// Where a byte offset of a text stands: line and column counted from 1,
// the column in characters of `encoding`.
struct Place {
  std::size_t line = 1;
  std::size_t column = 1;
};
Place place_of(std::string_view text, std::size_t offset, Encoding encoding);

// The Shift-JIS bytes the translator reads from a source text: a text that
// begins with a UTF-8 byte-order mark, or is valid UTF-8 and holds a
// character beyond ASCII, is converted; any other text must be valid
// Shift-JIS and is used as it is. Nothing, after a report naming the place,
// when neither works.
std::optional<std::string> source_as_sjis(std::string_view bytes,
                                          std::string_view file_name,
                                          Reporter& reporter);

// The whole file, or nothing after a report of why it cannot be read.
std::optional<std::string> read_file(const std::string& path,
                                     Reporter& reporter);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_SOURCE_TEXT_H_
