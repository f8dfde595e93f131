#include "explain/compiler_output.h"

#include <array>
#include <cstdint>
#include <optional>

#include "explain/file_place.h"
#include "text/encoding.h"
#include "text/words.h"

namespace zemuc::explain {
namespace {

struct SeverityWord {
  std::string_view marker;
  Severity severity;
};
constexpr std::array<SeverityWord, 4> kSeverities = {{
    {": fatal error: ", Severity::kError},
    {": error: ", Severity::kError},
    {": warning: ", Severity::kWarning},
    {": note: ", Severity::kNote},
}};

// Splits "FILE:LINE:COLUMN", "FILE:LINE" or "FILE" into the message.
void take_place(std::string_view where, CompilerMessage& message) {
  const std::optional<FilePlace> place = file_place(where);
  if (!place) {
    message.file = where;
    return;
  }
  message.file = place->file;
  message.line = place->line;
  message.column = place->column;
}

// The name of a tool that speaks for itself at the start of a line
// ("/usr/bin/ld: ", "collect2: "): its base name.
std::string_view tool_of(std::string_view line) {
  const std::size_t colon = line.find(": ");
  if (colon == std::string_view::npos) return {};
  std::string_view path = line.substr(0, colon);
  if (path.find(' ') != std::string_view::npos) return {};
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool is_linker(std::string_view tool) {
  return tool == "ld" || tool.starts_with("ld.") || tool.ends_with("-ld") ||
         tool == "ld64.lld" || tool == "lld" || tool.starts_with("wasm-ld");
}

// The name between the linker's quotes: `name' or 'name' or "name".
std::string quoted_name(std::string_view text) {
  const std::size_t open = text.find_first_of("`'\"");
  if (open == std::string_view::npos) return {};
  const std::size_t close = text.find_first_of("'\"", open + 1);
  if (close == std::string_view::npos) return {};
  return std::string(text.substr(open + 1, close - open - 1));
}

// "PLACE: undefined reference to `NAME'" from ld, with PLACE a source
// line through debug information, or an object file and section.
std::optional<CompilerMessage> undefined_reference(std::string_view line) {
  constexpr std::string_view kMarker = ": undefined reference to ";
  const std::size_t at = line.find(kMarker);
  if (at == std::string_view::npos) return std::nullopt;
  CompilerMessage message;
  message.from_linker = true;
  message.text = decode_character_names(line.substr(at + 2));
  message.undefined = quoted_name(message.text);
  const std::string_view where = line.substr(0, at);
  // "file.o:(.text+0x1b)" names no line.
  if (where.ends_with(")")) {
    const std::size_t open = where.rfind(":(");
    message.file = where.substr(0, open == std::string_view::npos ? 0 : open);
  } else {
    take_place(where, message);
  }
  return message;
}

bool left_out(std::string_view line) {
  if (line.empty() || line.front() == ' ' || line.front() == '\t') return true;
  if (line.starts_with("In file included from")) return true;
  if (line.starts_with(">>> ")) return true;      // lld's further places
  if (line.ends_with("generated.")) return true;  // clang's count
  if (line.find(": In function ") != std::string_view::npos) return true;
  // gcc 11 says it without a file after a #line back into the frame.
  if (line == "At top level:" ||
      line.find(": At top level:") != std::string_view::npos) {
    return true;
  }
  if (line.find(": in function `") != std::string_view::npos) return true;
  if (line.find("some warnings being treated as errors") !=
      std::string_view::npos) {
    return true;
  }
  // The drivers' own closing words after the linker failed.
  if (line.find("ld returned") != std::string_view::npos) return true;
  if (line.find("linker command failed") != std::string_view::npos) return true;
  // A source line under gcc's line numbers.
  if (line.find(" | ") != std::string_view::npos &&
      line.find_first_not_of(" 0123456789") == line.find('|')) {
    return true;
  }
  return false;
}

// lld's "undefined symbol: NAME", and wasm-ld's, which names the object
// first ("/tmp/p.o: undefined symbol: NAME") and no place: the line that
// names NAME is found instead.
void take_undefined_symbol(bool linker, CompilerMessage& message) {
  constexpr std::string_view kUndefinedSymbol = "undefined symbol: ";
  const std::size_t undefined = message.text.find(kUndefinedSymbol);
  if (linker && undefined != std::string::npos &&
      (undefined == 0 ||
       (undefined >= 4 &&
        message.text.compare(undefined - 4, 4, ".o: ") == 0))) {
    message.undefined =
        message.text.substr(undefined + kUndefinedSymbol.size());
    message.file.clear();
  }
}

// tcc links by itself, and says a name it did not find as the driver:
// "tcc: error: undefined symbol 'NAME'", with no place.
void take_tcc_undefined(std::string_view tool, CompilerMessage& message) {
  constexpr std::string_view kUndefinedSymbol = "undefined symbol '";
  if (tool.ends_with("tcc") && message.line == 0 &&
      message.text.starts_with(kUndefinedSymbol)) {
    message.from_linker = true;
    message.undefined = quoted_name(message.text);
    message.file.clear();
  }
}

}  // namespace

std::string decode_character_names(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() &&
        (text[i + 1] == 'u' || text[i + 1] == 'U')) {
      const std::size_t digits = text[i + 1] == 'u' ? 4 : 8;
      const std::optional<std::uint32_t> c =
          i + 2 + digits <= text.size()
              ? number_of<std::uint32_t>(text.substr(i + 2, digits), 16)
              : std::nullopt;
      if (c && *c <= 0x10FFFF && (*c < 0xD800 || *c > 0xDFFF)) {
        append_utf8(out, static_cast<char32_t>(*c));
        i += 1 + digits;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::vector<CompilerMessage> parse_compiler_output(std::string_view output) {
  std::vector<CompilerMessage> messages;
  // The message that a note says more of: the last that is no note.
  std::size_t said_more = SIZE_MAX;
  while (!output.empty()) {
    const std::size_t lf = output.find('\n');
    std::string_view line = output.substr(0, lf);
    output.remove_prefix(lf == std::string_view::npos ? output.size() : lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // lld: "ld.lld: error: undefined symbol: NAME", then
    // ">>> referenced by FILE:LINE".
    if (line.starts_with(">>> referenced by ") && !messages.empty() &&
        messages.back().from_linker && messages.back().file.empty()) {
      std::string_view where = line.substr(18);
      take_place(where.substr(0, where.find(' ')), messages.back());
      continue;
    }
    if (left_out(line)) continue;
    const std::string_view tool = tool_of(line);
    const bool linker = is_linker(tool);
    if (linker) line.remove_prefix(line.find(": ") + 2);
    if (auto reference = undefined_reference(line)) {
      messages.push_back(std::move(*reference));
      continue;
    }
    CompilerMessage message;
    message.from_linker = linker;
    std::size_t at = std::string_view::npos;
    for (const SeverityWord& word : kSeverities) {
      const std::size_t found =
          line.starts_with(word.marker.substr(2)) ? 0 : line.find(word.marker);
      if (found < at) {
        at = found;
        message.severity = word.severity;
        const std::size_t skip =
            found == 0 && line.starts_with(word.marker.substr(2))
                ? word.marker.size() - 2
                : word.marker.size();
        message.text = decode_character_names(line.substr(found + skip));
        if (found > 0) take_place(line.substr(0, found), message);
      }
    }
    if (at == std::string_view::npos) {
      message.text = decode_character_names(line);
    }
    take_undefined_symbol(linker, message);
    take_tcc_undefined(tool, message);
    // A driver that names itself ("gcc: error: ...") names no file.
    if (message.line == 0 && !message.from_linker &&
        message.file.find('.') == std::string::npos) {
      message.file.clear();
    }
    if (message.severity != Severity::kNote) {
      said_more = messages.size();
    } else if (said_more < messages.size()) {
      messages[said_more].notes.push_back(message.text);
    }
    messages.push_back(std::move(message));
  }
  return messages;
}

}  // namespace zemuc::explain
