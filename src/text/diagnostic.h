// A message about a place in a source, shown as compilers show theirs.
#ifndef ZEMUC_TEXT_DIAGNOSTIC_H_
#define ZEMUC_TEXT_DIAGNOSTIC_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "text/encoding.h"

namespace zemuc {

// Three lines in the terminal's encoding:
//   FILE:LINE:COLUMN: KIND: TEXT
//   the source line (a window of it when it is very long)
//   a caret under the column
// `sjis_line` is the line as read, with or without its line end; its
// columns count characters (a double-byte character and a tab count one).
// `utf8_text` is the message. The file name is shown as it is given. KIND
// ("warning", "error") stays English in every language: editors and
// terminals recognise messages by that word.
std::string render_diagnostic(std::string_view file_name, std::size_t line,
                              std::size_t column, std::string_view kind,
                              std::string_view utf8_text,
                              std::string_view sjis_line, Encoding terminal);

}  // namespace zemuc

#endif  // ZEMUC_TEXT_DIAGNOSTIC_H_
