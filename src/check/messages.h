// The words of `zemuc check`: what each finding means, and how a finding
// is shown on a terminal, in the form editors jump to.
#ifndef ZEMUC_CHECK_MESSAGES_H_
#define ZEMUC_CHECK_MESSAGES_H_

#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "text/encoding.h"
#include "text/language.h"

namespace zemuc::check {

// The text of a finding in UTF-8: what will happen and what to write
// instead, its subject shown in it.
std::string finding_text(const Finding& finding, Language language);

// Three lines in the terminal's encoding:
//   FILE:LINE:COLUMN: warning: TEXT
//   the source line (a window of it when it is very long)
//   a caret under the column
// `sjis_line` is the finding's line as read, with or without its line
// end. The file name is shown as it is given. "warning" stays English in
// every language: editors and terminals recognise findings by that word.
std::string render_finding(std::string_view file_name,
                           std::string_view sjis_line, const Finding& finding,
                           Language language, Encoding terminal);

// Every finding of `findings` (in line order, as check_source gives them)
// rendered with its line of `sjis_source`.
std::string render_findings(std::string_view file_name,
                            std::string_view sjis_source,
                            const std::vector<Finding>& findings,
                            Language language, Encoding terminal);

}  // namespace zemuc::check

#endif  // ZEMUC_CHECK_MESSAGES_H_
