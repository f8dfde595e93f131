#include "zemuc/source_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/files.h"

namespace zemuc {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool has_non_ascii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

std::string hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// zemuc makes sure at its start that iconv converts; should it stop, the
// source is not to blame.
std::nullopt_t no_converter(Reporter& reporter) {
  reporter.error({"文字コードを変換できません", "cannot convert text"});
  return std::nullopt;
}

}  // namespace

Place place_of(std::string_view text, std::size_t offset, Encoding encoding) {
  Place place;
  std::size_t i = 0;
  while (i < offset && i < text.size()) {
    if (text[i] == '\n') {
      ++place.line;
      place.column = 1;
      ++i;
      continue;
    }
    ++place.column;
    i += character_length(text.substr(i), encoding);
  }
  return place;
}

std::optional<std::string> source_as_sjis(std::string_view bytes,
                                          std::string_view file_name,
                                          Reporter& reporter) {
  const bool marked = bytes.starts_with(kByteOrderMark);
  if (marked) bytes.remove_prefix(kByteOrderMark.size());
  std::size_t bad_at = 0;
  if (marked || (has_non_ascii(bytes) && is_valid_utf8(bytes))) {
    if (auto converted =
            convert_all(bytes, Encoding::kUtf8, Encoding::kShiftJis, &bad_at)) {
      return converted;
    }
    if (bad_at == std::string_view::npos) return no_converter(reporter);
    const Place place = place_of(bytes, bad_at, Encoding::kUtf8);
    const std::string_view rest = bytes.substr(bad_at);
    const std::string_view character =
        rest.substr(0, character_length(rest, Encoding::kUtf8));
    const std::string code = "U+" + hex(code_point(rest), 4);
    // A Shift-JIS terminal cannot show the character itself.
    std::string shown = code;
    if (reporter.terminal() == Encoding::kUtf8) {
      shown = std::string(1, '\'')
                  .append(character)
                  .append("' (")
                  .append(code)
                  .append(")");
    }
    reporter.error_at(
        file_name, place.line, place.column,
        {"{} は Shift-JIS に無い文字です。別の文字で書いてください",
         "{} has no Shift-JIS form; write it another way"},
        {shown});
    return std::nullopt;
  }
  if (convert_all(bytes, Encoding::kShiftJis, Encoding::kUtf8, &bad_at)) {
    return std::string(bytes);
  }
  if (bad_at == std::string_view::npos) return no_converter(reporter);
  const Place place = place_of(bytes, bad_at, Encoding::kShiftJis);
  reporter.error_at(
      file_name, place.line, place.column,
      {"UTF-8 でも Shift-JIS でもない文字があります (バイト 0x{})",
       "the source is neither UTF-8 nor Shift-JIS here (byte 0x{})"},
      {hex(static_cast<unsigned char>(bytes[bad_at]), 2)});
  return std::nullopt;
}

std::optional<std::string> read_file(const std::string& path,
                                     Reporter& reporter) {
  std::optional<std::string> bytes = read_whole_file(path);
  if (!bytes) {
    reporter.error({"{} を読めません: {}", "cannot read {}: {}"},
                   {path, std::strerror(errno)});
  }
  return bytes;
}

}  // namespace zemuc
