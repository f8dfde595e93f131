#include "zemuc/built.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "check/check.h"
#include "check/messages.h"
#include "front/source_text.h"
#include "front/statuses.h"
#include "front/translation.h"
#include "io/files.h"
#include "sys/disk.h"
#include "toolchain/build.h"
#include "toolchain/toolchain.h"

namespace zemuc {

std::optional<std::string> load_source(const Command& command,
                                       Reporter& reporter) {
  const std::optional<std::string> bytes = read_file(command.source, reporter);
  if (!bytes) return std::nullopt;
  return source_as_sjis(*bytes, command.source, reporter);
}

std::string findings_of(const Command& command, const std::string& source,
                        const Reporter& reporter) {
  return check::render_findings(command.source, source,
                                check::check_source(source),
                                reporter.language(), reporter.terminal());
}

std::variant<BuiltProgram, int> translate_and_build(
    const Command& command, const std::string& source, const Names& names,
    const std::string& executable, const std::string& scratch,
    Reporter& reporter) {
  // What the check finds is told before the build, which goes on.
  reporter.write(findings_of(command, source, reporter));
  std::optional<Translation> translation =
      translate_source(command.source, source, reporter);
  if (!translation) return kExitTranslationFailed;
  const std::string c_file =
      names.c_file.empty() ? scratch + "/source.c" : names.c_file;
  if (!write_whole_file(c_file, translation->c_text)) {
    reporter.error(kCannotWrite, {c_file, std::strerror(errno)});
    return kExitTranslationFailed;
  }
  const std::variant<toolchain::Toolchain, toolchain::Trouble> found =
      toolchain::find_toolchain();
  if (const auto* trouble = std::get_if<toolchain::Trouble>(&found)) {
    reporter.error(trouble->text, trouble->args);
    return kExitBuildFailed;
  }
  Program program(command.source, source, std::move(*translation));
  const toolchain::BuildRequest request{program,
                                        std::get<toolchain::Toolchain>(found),
                                        command.checks,
                                        executable,
                                        scratch,
                                        reporter.language(),
                                        reporter.terminal()};
  toolchain::Built built = toolchain::build_program(request);
  reporter.write(built.said);
  if (built.unchecked_because) {
    reporter.error(built.unchecked_because->text,
                   built.unchecked_because->args);
  }
  switch (built.status) {
    case toolchain::BuildStatus::kBuilt:
      return BuiltProgram{
          std::move(program),
          std::move(built.map),
          built.checked,
          built.own_checks,
          !built.unchecked_because &&
              request.toolchain.family != toolchain::Family::kOther,
          std::move(built.values_missing)};
    case toolchain::BuildStatus::kInterrupted:
      return kExitInterrupted;
    case toolchain::BuildStatus::kFailed:
      break;
  }
  if (built.trouble) reporter.error(built.trouble->text, built.trouble->args);
  return kExitBuildFailed;
}

}  // namespace zemuc
