// Reading a source for the companion: Shift-JIS as the language defines, or
// UTF-8 as Linux editors save it, converted in memory by the front end of
// text/source_text.h and reported here.
#ifndef ZEMUC_FRONT_SOURCE_TEXT_H_
#define ZEMUC_FRONT_SOURCE_TEXT_H_

#include <optional>
#include <string>
#include <string_view>

#include "front/reporter.h"
#include "text/source_text.h"

namespace zemuc {

// The Shift-JIS bytes the translator reads from a source text (see
// convert_source). Nothing, after a report naming the place, when the text
// is neither.
std::optional<std::string> source_as_sjis(std::string_view bytes,
                                          std::string_view file_name,
                                          Reporter& reporter);

// The whole file, or nothing after a report of why it cannot be read.
std::optional<std::string> read_file(const std::string& path,
                                     Reporter& reporter);

}  // namespace zemuc

#endif  // ZEMUC_FRONT_SOURCE_TEXT_H_
