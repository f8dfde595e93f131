#include "front/reporter.h"

#include <vector>

namespace zemuc {
Reporter::Reporter(Language language, Encoding terminal, Writer writer)
    : language_(language), terminal_(terminal), writer_(std::move(writer)) {}

std::string Reporter::format(
    Text text, std::initializer_list<std::string_view> args) const {
  return format(text, std::span(args.begin(), args.size()));
}

std::string Reporter::format(Text text,
                             std::span<const std::string_view> args) const {
  if (terminal_ == Encoding::kUtf8) return fill(text, language_, args);
  // The arguments (file names, the system's words) come in the terminal's
  // encoding: filled in as UTF-8 like the text, then all converted back.
  std::vector<std::string> converted;
  for (const std::string_view arg : args) {
    converted.push_back(convert_text(arg, terminal_, Encoding::kUtf8));
  }
  const std::vector<std::string_view> utf8_args(converted.begin(),
                                                converted.end());
  return convert_text(fill(text, language_, utf8_args), Encoding::kUtf8,
                      terminal_);
}

void Reporter::error(Text text, std::initializer_list<std::string_view> args) {
  write("zemuc: " + format(text, args) + "\n");
}

void Reporter::error(Text text, std::span<const std::string> args) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  write("zemuc: " + format(text, views) + "\n");
}

void Reporter::error_at(std::string_view file, std::size_t line,
                        std::size_t column, Text text,
                        std::initializer_list<std::string_view> args) {
  std::string where(file);
  where += ':' + std::to_string(line) + ':';
  if (column != 0) where += std::to_string(column) + ':';
  // "error" stays English, as "warning" does: editors find messages by it.
  write(where + " error: " + format(text, args) + "\n");
}

void Reporter::write(std::string_view bytes) { writer_(bytes); }

}  // namespace zemuc
