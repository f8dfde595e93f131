#include "web/answers.h"

#include <cstdio>
#include <utility>

#include "check/check.h"
#include "check/messages.h"
#include "front/source_text.h"
#include "front/statuses.h"
#include "front/translation.h"
#include "io/files.h"

namespace zemuc::web {
namespace {

// A line that is only the caret under a place: blanks, then ^.
bool caret_line(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first != std::string_view::npos && line[first] == '^' &&
         line.find_first_not_of("^~", first) == std::string_view::npos;
}

}  // namespace

int print_answer(const nlohmann::json& answer) {
  const std::string text =
      answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
      "\n";
  return write_all(stdout, text) ? 0 : kStatusStreamFailed;
}

Reporter keeping_reporter(Language language, std::string& shown) {
  return Reporter(language, Encoding::kUtf8,
                  [&shown](std::string_view bytes) { shown += bytes; });
}

std::vector<std::string> message_lines(std::string_view shown) {
  std::vector<std::string_view> lines;
  while (!shown.empty()) {
    const std::size_t lf = shown.find('\n');
    lines.push_back(shown.substr(0, lf));
    shown.remove_prefix(lf == std::string_view::npos ? shown.size() : lf + 1);
  }
  std::vector<std::string> messages;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    messages.emplace_back(lines[i]);
    if (i + 2 < lines.size() && caret_line(lines[i + 2])) i += 2;
  }
  return messages;
}

std::optional<std::string> read_area_file(const std::string& name) {
  return read_whole_file(name);
}

bool write_area_file(const std::string& name, std::string_view bytes) {
  DiskFiles disk;
  const std::unique_ptr<Sink> sink = disk.open_for_writing(name, {});
  return sink != nullptr && sink->write(bytes) && sink->close();
}

std::optional<Translated> read_and_translate(const Arguments& arguments,
                                             Reporter& reporter,
                                             bool with_findings) {
  const std::optional<std::string> bytes = read_file(arguments.name, reporter);
  if (!bytes) return std::nullopt;
  std::optional<std::string> sjis =
      source_as_sjis(*bytes, arguments.name, reporter);
  if (!sjis) return std::nullopt;
  if (with_findings) {
    reporter.write(check::render_findings(
        arguments.name, *sjis, check::check_source(*sjis), reporter.language(),
        reporter.terminal()));
  }
  Translated out{std::move(*sjis), {}, false};
  out.translation = translate_in_memory(arguments.name, out.sjis);
  out.translated =
      report_translation(arguments.name, out.translation, reporter);
  return out;
}

BrowserProgram browser_program(const Arguments& arguments,
                               Translated translated) {
  Program program(arguments.name, translated.sjis,
                  std::move(translated.translation));
  CompilerCopy copy = make_compiler_copy(program, Frame::kChecked);
  return {std::move(program), std::move(copy), Frame::kChecked};
}

std::optional<BrowserProgram> program_after_prepare(const Arguments& arguments,
                                                    int& exit_status) {
  std::string shown;
  Reporter reporter = keeping_reporter(arguments.language, shown);
  std::optional<Translated> translated =
      read_and_translate(arguments, reporter, false);
  if (!translated || !translated->translated) {
    exit_status = print_answer(told(shown, kExitTranslationFailed));
    return std::nullopt;
  }
  return browser_program(arguments, std::move(*translated));
}

nlohmann::json told(const std::string& shown, int status) {
  return {
      {"problems", message_lines(shown)}, {"shown", shown}, {"status", status}};
}

}  // namespace zemuc::web
