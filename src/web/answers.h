// What zemucweb's commands share: the source in the working folder read
// and translated as zemuc run reads and translates it, the files of that
// folder, and the answer printed as one JSON value.
#ifndef ZEMUC_WEB_ANSWERS_H_
#define ZEMUC_WEB_ANSWERS_H_

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/memory_translation.h"
#include "front/reporter.h"
#include "lsp/compiler_findings.h"
#include "program/copy.h"
#include "program/program.h"
#include "web/arguments.h"
#include "web/filter.h"

namespace zemuc::web {

// Prints `answer` on standard output, a line of its own; characters that
// are not UTF-8 become U+FFFD. 0, or kStatusStreamFailed
// (web/filter.h) when it cannot be printed whole.
int print_answer(const nlohmann::json& answer);

// What zemuc run says, kept: a reporter in the language asked for, on a
// UTF-8 terminal, that writes to `shown`.
Reporter keeping_reporter(Language language, std::string& shown);

// The lines of `shown` that are messages: a message followed by its
// source line and a caret under it is one line, the first.
std::vector<std::string> message_lines(std::string_view shown);

// A file of the working folder, or nothing where there is none.
std::optional<std::string> read_area_file(const std::string& name);
// Writes a file of the working folder whole; false with errno saying why.
bool write_area_file(const std::string& name, std::string_view bytes);

// The source read as zemuc run reads it: its Shift-JIS form and its
// translation, which may have failed (`translated` false). Nothing when
// it cannot be read or converted; `status` is then zemuc run's.
struct Translated {
  std::string sjis;
  Translation translation;
  bool translated = false;
};
std::optional<Translated> read_and_translate(const Arguments& arguments,
                                             Reporter& reporter,
                                             bool with_findings);

// The program translated, and the compiler's copy the browser builds: the
// checked one, whose messages name the same places as the build's.
using BrowserProgram = lsp::BuildInput;
BrowserProgram browser_program(const Arguments& arguments,
                               Translated translated);

// The same for the commands that follow prepare: nothing, after the
// answer {"problems", "shown", "status"} of zemuc run's words, when the
// source no longer translates.
std::optional<BrowserProgram> program_after_prepare(const Arguments& arguments,
                                                    int& exit_status);

// The answer of the messages zemuc run prints and its status.
nlohmann::json told(const std::string& shown, int status);

}  // namespace zemuc::web

#endif  // ZEMUC_WEB_ANSWERS_H_
