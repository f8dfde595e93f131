// prepare: the source read, checked and translated as zemuc run does it,
// STEM.c and the compiler's copy written, and the browser's build and run
// described.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "driver/output_name.h"
#include "front/statuses.h"
#include "program/compile_flags.h"
#include "web/answers.h"
#include "web/commands.h"

namespace zemuc::web {
namespace {

// Writes a file of the working folder, or says why it cannot, as zemuc run
// says it of the C file.
bool write_told(const std::string& name, std::string_view bytes,
                Reporter& reporter) {
  if (write_area_file(name, bytes)) return true;
  reporter.error(kCannotWrite, {name, std::strerror(errno)});
  return false;
}

// The environment of the program: where its checks write.
nlohmann::json program_environment() {
  return {{std::string(kReportVariable), std::string(kBrowserReport)},
          {std::string(kOpenNotesVariable), std::string(kBrowserOpenNotes)}};
}

// What the checks of an earlier run wrote goes before the next: zemuc run
// gives each run a folder of its own, and the page's folder stays.
bool remove_earlier_reports(Reporter& reporter) {
  for (const std::string_view name : {kBrowserReport, kBrowserOpenNotes}) {
    const std::string path(name);
    if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
      reporter.error(kCannotWrite, {path, std::strerror(errno)});
      return false;
    }
  }
  return true;
}

// Translates and writes; zemuc run's status for what it said.
int translate_and_write(const Arguments& arguments, Reporter& reporter) {
  if (!remove_earlier_reports(reporter)) return kExitTranslationFailed;
  std::optional<Translated> translated =
      read_and_translate(arguments, reporter, true);
  if (!translated) return kExitTranslationFailed;
  // The C text as zemucfilter writes it, also where it rejects a line.
  const std::optional<std::string> c_name = output_name_for(arguments.name);
  if (!c_name ||
      !write_told(*c_name, translated->translation.c_text, reporter) ||
      !translated->translated) {
    return kExitTranslationFailed;
  }
  const BrowserProgram built =
      browser_program(arguments, std::move(*translated));
  if (!write_told(std::string(kBrowserCopy), built.copy.text, reporter)) {
    return kExitTranslationFailed;
  }
  return 0;
}

}  // namespace

int prepare(const Arguments& arguments) {
  std::string shown;
  Reporter reporter = keeping_reporter(arguments.language, shown);
  const int status = translate_and_write(arguments, reporter);
  nlohmann::json answer = told(shown, status);
  answer["ok"] = status == 0;
  answer["compile"] = browser_compile_arguments();
  answer["inputs"] = {std::string(kBrowserRuntime)};
  answer["env"] = program_environment();
  return print_answer(answer);
}

}  // namespace zemuc::web
