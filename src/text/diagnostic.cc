#include "text/diagnostic.h"

#include "text/columns.h"

namespace zemuc {
namespace {

// A very long line is shown as a window around the column.
constexpr std::size_t kShownBefore = 60;
constexpr std::size_t kShownCharacters = 120;
constexpr std::string_view kCut = "...";

std::string_view without_line_end(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  return line;
}

// The shown part of the line, still Shift-JIS, and the caret line under
// it. A tab is copied as a tab, a double-byte character takes two columns
// and every other byte one; a control byte is shown as '?', which keeps
// its column and keeps the terminal's own controls out.
struct Shown {
  std::string line;
  std::string caret;
};

Shown show(std::string_view line, std::size_t column) {
  const std::size_t first_column =
      column > kShownBefore ? column - kShownBefore : 1;
  std::size_t i = offset_of_column(line, first_column);
  Shown shown;
  if (i > 0) {
    shown.line = kCut;
    shown.caret = "   ";
  }
  for (std::size_t c = first_column;
       i < line.size() && c < first_column + kShownCharacters; ++c) {
    const std::size_t n = character_at(line, i);
    const unsigned char byte = static_cast<unsigned char>(line[i]);
    const bool control =
        n == 1 && byte != '\t' && (byte < 0x20 || byte == 0x7F);
    shown.line += control ? std::string_view("?") : line.substr(i, n);
    if (c < column) {
      shown.caret += byte == '\t' ? "\t" : n == 2 ? "  " : " ";
    }
    i += n;
  }
  if (i < line.size()) shown.line += kCut;
  shown.caret += '^';
  return shown;
}

}  // namespace

std::string render_diagnostic(std::string_view file_name, std::size_t line,
                              std::size_t column, std::string_view kind,
                              std::string_view utf8_text,
                              std::string_view sjis_line, Encoding terminal) {
  const Shown shown = show(without_line_end(sjis_line), column);
  std::string out(file_name);
  out += ':' + std::to_string(line) + ':' + std::to_string(column) + ": ";
  out += kind;
  out += ": ";
  out += convert_text(utf8_text, Encoding::kUtf8, terminal);
  out += '\n';
  out += sjis_for_terminal(shown.line, terminal);
  out += '\n';
  out += shown.caret;
  out += '\n';
  return out;
}

}  // namespace zemuc
