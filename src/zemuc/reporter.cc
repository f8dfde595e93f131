#include "zemuc/reporter.h"

#include <unistd.h>

#include "sys/fd.h"

namespace zemuc {
Reporter::Reporter(Language language, Encoding terminal, Writer writer)
    : language_(language),
      terminal_(terminal),
      writer_(writer ? std::move(writer) : Writer([](std::string_view bytes) {
        write_all(STDERR_FILENO, bytes);
      })) {}

std::string Reporter::format(
    Text text, std::initializer_list<std::string_view> args) const {
  std::string_view rest = pick(language_, text.japanese, text.english);
  const auto* arg = args.begin();
  std::string out;
  for (;;) {
    const std::size_t hole = rest.find("{}");
    const std::string_view piece = rest.substr(0, hole);
    if (terminal_ == Encoding::kUtf8) {
      out += piece;
    } else {
      StreamConverter converter(Encoding::kUtf8, terminal_);
      out += converter.feed(piece);
      out += converter.finish();
    }
    if (hole == std::string_view::npos) break;
    if (arg != args.end()) out += *arg++;
    rest.remove_prefix(hole + 2);
  }
  return out;
}

void Reporter::error(Text text, std::initializer_list<std::string_view> args) {
  write("zemuc: " + format(text, args) + "\n");
}

void Reporter::error_at(std::string_view file, std::size_t line,
                        std::size_t column, Text text,
                        std::initializer_list<std::string_view> args) {
  std::string where(file);
  where += ':' + std::to_string(line) + ':';
  if (column != 0) where += std::to_string(column) + ':';
  write(where + " " + format({"エラー: ", "error: "}, {}) + format(text, args) +
        "\n");
}

void Reporter::write(std::string_view bytes) { writer_(bytes); }

}  // namespace zemuc
