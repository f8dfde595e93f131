#include "zemuc/source_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zemuc {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool has_non_ascii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// The code point of the well-formed UTF-8 character at the start of `text`.
char32_t code_point(std::string_view text) {
  const std::size_t n = character_length(text, Encoding::kUtf8);
  const auto byte = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(text[i]));
  };
  if (n == 1) return byte(0);
  char32_t c = byte(0) & (0x7F >> n);
  for (std::size_t i = 1; i < n; ++i) c = (c << 6) | (byte(i) & 0x3F);
  return c;
}

std::string hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

}  // namespace

bool is_valid_utf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    const std::size_t n = character_length(text.substr(i), Encoding::kUtf8);
    if (n == 1) return false;
    // Overlong forms and surrogates are no characters.
    const char32_t cp = code_point(text.substr(i));
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += n;
  }
  return true;
}

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
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::string bytes;
  int error = fd < 0 ? errno : 0;
  if (fd >= 0) {
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) error = errno;
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
  }
  if (error == 0) return bytes;
  reporter.error({"{} を読めません: {}", "cannot read {}: {}"},
                 {path, std::strerror(error)});
  return std::nullopt;
}

}  // namespace zemuc
