#include "text/source_text.h"

#include <optional>

namespace zemuc {
namespace {

bool has_non_ascii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
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

SourceReading source_reading(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) {
    return {kByteOrderMark.size(), Encoding::kUtf8};
  }
  if (has_non_ascii(bytes) && is_valid_utf8(bytes)) {
    return {0, Encoding::kUtf8};
  }
  return {0, Encoding::kShiftJis};
}

SourceSjis convert_source(std::string_view bytes) {
  SourceSjis result;
  result.reading = source_reading(bytes);
  const Encoding from = result.reading.encoding;
  bytes.remove_prefix(result.reading.skipped);
  std::size_t bad_at = 0;
  if (from == Encoding::kUtf8) {
    if (auto converted =
            convert_all(bytes, Encoding::kUtf8, Encoding::kShiftJis, &bad_at)) {
      result.sjis = std::move(*converted);
      return result;
    }
  } else if (convert_all(bytes, Encoding::kShiftJis, Encoding::kUtf8,
                         &bad_at)) {
    result.sjis = std::string(bytes);
    return result;
  }
  if (bad_at == std::string_view::npos) {
    result.problem = SourceSjis::Problem::kNoConverter;
    return result;
  }
  const std::string_view rest = bytes.substr(bad_at);
  result.place = place_of(bytes, bad_at, from);
  if (from == Encoding::kUtf8) {
    result.problem = SourceSjis::Problem::kNoShiftJis;
    result.character = rest.substr(0, character_length(rest, from));
    result.code = code_point(rest);
  } else {
    result.problem = SourceSjis::Problem::kNotShiftJis;
    result.character = rest.substr(0, 1);
  }
  return result;
}

SourceForm source_form(std::string_view utf8, std::string_view stand_in) {
  SourceForm form;
  if (utf8.starts_with(kByteOrderMark)) form.skipped = kByteOrderMark.size();
  std::size_t at = form.skipped;
  while (at < utf8.size()) {
    const std::string_view rest = utf8.substr(at);
    std::size_t bad = 0;
    if (std::optional<std::string> whole =
            convert_all(rest, Encoding::kUtf8, Encoding::kShiftJis, &bad)) {
      form.sjis += *whole;
      break;
    }
    if (bad == std::string_view::npos) {
      form.sjis.clear();
      form.converted = false;
      return form;
    }
    // The part before the character converts, as the first try showed.
    if (bad > 0) {
      form.sjis +=
          convert_all(rest.substr(0, bad), Encoding::kUtf8, Encoding::kShiftJis)
              .value_or(std::string());
    }
    const std::size_t length =
        character_length(rest.substr(bad), Encoding::kUtf8);
    form.unconvertible.push_back(
        {at + bad, length, code_point(rest.substr(bad))});
    form.sjis += stand_in;
    at += bad + length;
  }
  return form;
}

}  // namespace zemuc
