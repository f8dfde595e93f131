// explain-build and explain-run: what the compiler said and how the
// program ended, told as zemuc run tells them, from the same functions.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "driver/output_name.h"
#include "explain/explain.h"
#include "explain/fault.h"
#include "front/fault_report.h"
#include "front/statuses.h"
#include "lsp/compiler_findings.h"
#include "program/compile_flags.h"
#include "web/answers.h"
#include "web/commands.h"
#include "web/editor_answers.h"
#include "web/filter.h"

namespace zemuc::web {
namespace {

// The signal that ends a native program where a WebAssembly trap ended
// the browser's, by the words of the trap's message (V8's and others').
struct TrapSignal {
  std::string_view words;
  int signal;
};
constexpr TrapSignal kTrapSignals[] = {
    {"divide by zero", SIGFPE},
    {"integer overflow", SIGFPE},
    {"remainder by zero", SIGFPE},
    {"float unrepresentable", SIGFPE},
    {"invalid conversion to integer", SIGFPE},
    {"out of bounds", SIGSEGV},
    {"call stack", SIGSEGV},
    {"too much recursion", SIGSEGV},
    {"null function", SIGSEGV},
    {"signature mismatch", SIGSEGV},
    {"unreachable", SIGABRT},
};

int signal_of_trap(std::string_view message) {
  for (const TrapSignal& row : kTrapSignals) {
    if (message.find(row.words) != std::string_view::npos) return row.signal;
  }
  return SIGABRT;
}

}  // namespace

int explain_build(const Arguments& arguments) {
  // Standard input holds the compiler's standard error.
  const std::optional<std::string> read = read_all(stdin);
  if (!read) {
    // Nothing is left to tell a failure of this one with.
    (void)std::fprintf(stderr, "zemucweb: standard input: %s\n",
                       std::strerror(errno));
    return kStatusStreamFailed;
  }
  const std::string& output = *read;
  int exit_status = 0;
  const std::optional<BrowserProgram> built =
      program_after_prepare(arguments, exit_status);
  if (!built) return exit_status;
  std::string shown;
  Reporter reporter = keeping_reporter(arguments.language, shown);
  reporter.write(explain::explain_build(built->program, built->copy.map, output,
                                        arguments.failed, arguments.language,
                                        Encoding::kUtf8)
                     .shown);
  if (arguments.failed) {
    reporter.error(explain::kDoesNotBuild,
                   {arguments.name, kBrowserCompiler, "1"});
  }
  nlohmann::json answer = told(shown, arguments.failed ? kExitBuildFailed : 0);
  answer["findings"] =
      compiler_diagnostics(arguments, *built, output, arguments.failed, false);
  return print_answer(answer);
}

int explain_run(const Arguments& arguments) {
  int exit_status = 0;
  const std::optional<BrowserProgram> built =
      program_after_prepare(arguments, exit_status);
  if (!built) return exit_status;
  const std::string report =
      read_area_file(std::string(kBrowserReport)).value_or("");
  std::string shown;
  Reporter reporter = keeping_reporter(arguments.language, shown);
  int status = arguments.status;
  if (!report.empty()) {
    // What the build warned of values missing names a likely cause.
    const std::string build_output =
        read_area_file(std::string(kBrowserBuildOutput)).value_or("");
    const explain::Explanation warned =
        explain::explain_build(built->program, built->copy.map, build_output,
                               false, arguments.language, Encoding::kUtf8);
    tell_fault(output_name_for(arguments.name).value_or(""), built->program,
               built->copy.map, warned.values_missing, report, write_area_file,
               reporter);
    status = kExitCheckFailed;
  } else if (arguments.trap) {
    const int signal = signal_of_trap(*arguments.trap);
    reporter.write(explain::explain_signal(signal, true, arguments.language,
                                           Encoding::kUtf8));
    status = 128 + signal;
  }
  return print_answer(told(shown, status));
}

}  // namespace zemuc::web
