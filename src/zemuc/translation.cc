#include "zemuc/translation.h"

#include "driver/output_name.h"
#include "driver/translate.h"
#include "io/files.h"
#include "text/sjis_texts.h"

namespace zemuc {
namespace {

// The translator's texts from where the failure is told, for the terminal,
// with the line it shows given its place, on one line.
void report_failure(const std::string& source_name, const Context& ctx,
                    const std::string& console, Reporter& reporter) {
  const std::size_t told = console.find(sjis::kBadLine);
  if (told == std::string::npos) {
    // In memory only a rejected line fails; should anything else, the
    // console says what.
    reporter.write(sjis_for_terminal(console, reporter.terminal()));
    return;
  }
  const std::string_view words =
      sjis::kBadLine.substr(0, sjis::kBadLine.size() - 1);  // no line feed
  // The line as read follows the words on the console.
  std::string_view line =
      std::string_view(console).substr(told + sjis::kBadLine.size());
  while (!line.empty() && (line.front() == '\t' || line.front() == ' ')) {
    line.remove_prefix(1);
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  const Encoding terminal = reporter.terminal();
  reporter.write(source_name + ":" + std::to_string(ctx.line_number) + ": " +
                 sjis_for_terminal(words, terminal) + ": " +
                 sjis_for_terminal(line, terminal) + "\n");
}

}  // namespace

std::optional<std::string> translate_source(const std::string& source_name,
                                            const std::string& source,
                                            Reporter& reporter) {
  const std::optional<std::string> output_name = output_name_for(source_name);
  if (!output_name) return std::nullopt;
  MemoryFiles files;
  files.files[source_name] = source;
  std::string console_text;
  StringSink console_sink(console_text);
  Output console(console_sink);
  Context ctx;
  const int status = translate(ctx, source_name, *output_name, files, console);
  console.flush();
  if (status != kStatusOk) {
    report_failure(source_name, ctx, console_text, reporter);
    return std::nullopt;
  }
  return std::move(files.files[*output_name]);
}

}  // namespace zemuc
