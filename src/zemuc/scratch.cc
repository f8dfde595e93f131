#include "zemuc/scratch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "io/files.h"
#include "program/copy.h"

namespace zemuc {
namespace {

// The name the checks' reports take in the run's scratch folder; the
// sanitizers add their process's number.
constexpr std::string_view kReportName = "report";

// The name the sanitizers write their reports by, as their options take
// it: they split the options at blanks, ':' and ',', and take a value in
// quotes whole up to the next quote. Nothing for a name that must be
// quoted and holds both quotes.
std::optional<std::string> sanitizer_report(const std::string& folder) {
  const std::string report = folder + "/" + std::string(kReportName);
  if (report.find_first_of(" \t\n\r:,") == std::string::npos &&
      !report.starts_with('\'') && !report.starts_with('"')) {
    return report;
  }
  for (const char quote : {'\'', '"'}) {
    if (report.find(quote) == std::string::npos) {
      return quote + report + quote;
    }
  }
  return std::nullopt;
}

constexpr Text kNoProgramsThere = {
    "{} ではプログラムを動かせません ({})。TMPDIR "
    "をプログラムを動かせるフォルダにしてください",
    "programs may not run in {} ({}); set TMPDIR to a folder where they "
    "may"};

}  // namespace

std::optional<ScratchFolder> scratch_folder(Reporter& reporter) {
  std::optional<ScratchFolder> folder = ScratchFolder::make();
  if (folder) return folder;
  const int error = errno;
  if (error == ENOENT) {
    reporter.error({"一時フォルダの置き場 {} がありません。TMPDIR "
                    "をあるフォルダにしてください",
                    "the folder for scratch files {} does not exist; set "
                    "TMPDIR to a folder that does"},
                   {ScratchFolder::place()});
  } else {
    reporter.error({"一時フォルダを {} に作れません: {}",
                    "cannot make a scratch folder in {}: {}"},
                   {ScratchFolder::place(), std::strerror(error)});
  }
  return std::nullopt;
}

bool serves_a_run(const std::string& folder, bool checks, Reporter& reporter) {
  if (forbids_programs(folder)) {
    reporter.error(
        kNoProgramsThere,
        {ScratchFolder::place(),
         reporter.format(
             {"noexec でマウントされています", "it is mounted noexec"}, {})});
    return false;
  }
  if (checks && !sanitizer_report(folder)) {
    reporter.error(
        {"検査は {} に報告を書けません (名前に ' と \" の両方があります)。"
         "TMPDIR をほかのフォルダにしてください",
         "the checks cannot write their reports into {} (its name holds "
         "both ' and \"); set TMPDIR to another folder"},
        {ScratchFolder::place()});
    return false;
  }
  return true;
}

void tell_not_started(int error, Reporter& reporter) {
  if (error == EACCES || error == EPERM) {
    reporter.error(kNoProgramsThere,
                   {ScratchFolder::place(), std::strerror(error)});
    return;
  }
  reporter.error({"プログラムを動かせません: {}", "cannot run the program: {}"},
                 {std::strerror(error)});
}

std::string reports_in(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(kReportName)) names.push_back(entry.path().string());
  }
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names) {
    if (std::optional<std::string> bytes = read_whole_file(name)) {
      text += *bytes;
    }
  }
  return text;
}

std::vector<std::string> check_settings(bool sanitizers, bool reports,
                                        const std::string& folder) {
  const std::string report = folder + "/" + std::string(kReportName);
  std::vector<std::string> settings;
  // serves_a_run() has made sure that the sanitizers can be given it.
  if (const std::optional<std::string> quoted = sanitizer_report(folder);
      sanitizers && quoted) {
    settings = {"ASAN_OPTIONS=log_path=" + *quoted,
                "UBSAN_OPTIONS=log_path=" + *quoted};
  }
  if (reports) {
    settings.push_back(std::string(kReportVariable) + "=" + report + ".checks");
    settings.push_back(std::string(kOpenNotesVariable) + "=" + folder +
                       "/opens");
  }
  return settings;
}

}  // namespace zemuc
