#include "front/source_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/files.h"

namespace zemuc {
namespace {

std::string hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// The character without a Shift-JIS form as the report shows it: a
// Shift-JIS terminal cannot show the character itself.
std::string shown(const SourceSjis& source, Encoding terminal) {
  const std::string code = "U+" + hex(source.code, 4);
  if (terminal != Encoding::kUtf8) return code;
  return std::string(1, '\'')
      .append(source.character)
      .append("' (")
      .append(code)
      .append(")");
}

constexpr Text kNoShiftJisForm = {
    "{} は Shift-JIS に無い文字です。別の文字で書いてください",
    "{} has no Shift-JIS form; write it another way"};
constexpr Text kNeitherEncoding = {
    "UTF-8 でも Shift-JIS でもない文字があります (バイト 0x{})",
    "the source is neither UTF-8 nor Shift-JIS here (byte 0x{})"};

}  // namespace

std::optional<std::string> source_as_sjis(std::string_view bytes,
                                          std::string_view file_name,
                                          Reporter& reporter) {
  SourceSjis source = convert_source(bytes);
  const Place& place = source.place;
  switch (source.problem) {
    case SourceSjis::Problem::kNone:
      return std::move(source.sjis);
    case SourceSjis::Problem::kNoConverter:
      // zemuc makes sure at its start that iconv converts; should it stop,
      // the source is not to blame.
      reporter.error({"文字コードを変換できません", "cannot convert text"});
      break;
    case SourceSjis::Problem::kNoShiftJis:
    case SourceSjis::Problem::kNotShiftJis: {
      // The character itself, or the byte that starts no character.
      const bool no_form = source.problem == SourceSjis::Problem::kNoShiftJis;
      const std::string what =
          no_form
              ? shown(source, reporter.terminal())
              : hex(static_cast<unsigned char>(source.character.front()), 2);
      reporter.error_at(file_name, place.line, place.column,
                        no_form ? kNoShiftJisForm : kNeitherEncoding, {what});
      break;
    }
  }
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
