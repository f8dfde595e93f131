#include "text/encoding.h"

#include <langinfo.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "text/cp932.h"

namespace zemuc {
namespace {

// U+FFFD in UTF-8, and a plain question mark for Shift-JIS, which has no
// replacement character of its own.
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
constexpr std::string_view kSjisReplacement = "?";

std::string_view replacement_for(Encoding to) {
  return to == Encoding::kUtf8 ? kUtf8Replacement : kSjisReplacement;
}

bool is_sjis_lead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool is_sjis_trail(unsigned char c) {
  return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

// How the conversion of one run went.
using Stop = cp932::Stop;

#ifdef ZEMUC_CP932_TABLE
// The C library has no CP932 (wasi-libc): the tables of text/cp932.h,
// made from glibc's iconv, convert instead, and a descriptor only tells
// the direction.
const iconv_t kToUtf8 = reinterpret_cast<iconv_t>(1);
const iconv_t kFromUtf8 = reinterpret_cast<iconv_t>(2);

iconv_t open_iconv(Encoding from, Encoding to) {
  if (from == to) return kNoConversion;
  return from == Encoding::kShiftJis ? kToUtf8 : kFromUtf8;
}

void close_iconv(iconv_t) {}

Stop run_iconv(iconv_t cd, std::string_view& in, std::string& out) {
  return cd == kToUtf8 ? cp932::to_utf8(in, out) : cp932::from_utf8(in, out);
}
#else
// The one place iconv descriptors are opened: nothing to open between an
// encoding and itself, else kNoConversion when iconv lacks one of them.
iconv_t open_iconv(Encoding from, Encoding to) {
  if (from == to) return kNoConversion;
  return iconv_open(iconv_name(to), iconv_name(from));
}

void close_iconv(iconv_t cd) { iconv_close(cd); }

// Converts as much of `in` as iconv can, appending to `out`; `in` keeps
// what is left, starting at the character that stopped it.
Stop run_iconv(iconv_t cd, std::string_view& in, std::string& out) {
  char chunk[4096];
  while (!in.empty()) {
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    char* dst = chunk;
    std::size_t dst_left = sizeof chunk;
    const std::size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    const int error = errno;
    out.append(chunk, dst - chunk);
    in.remove_prefix(in.size() - src_left);
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (error == E2BIG) continue;
    if (error == EINVAL) return Stop::kIncomplete;
    return Stop::kBad;
  }
  return Stop::kDone;
}
#endif

}  // namespace

const char* iconv_name(Encoding encoding) {
  return encoding == Encoding::kUtf8 ? "UTF-8" : "CP932";
}

bool is_shift_jis_codeset(std::string_view codeset) {
  const std::string name = upper(codeset);
  for (std::string_view known :
       {"SJIS", "SHIFT_JIS", "SHIFT-JIS", "SHIFTJIS", "CP932", "MS932",
        "WINDOWS-31J", "IBM-943", "IBM943", "MSKANJI"}) {
    if (name == known) return true;
  }
  return false;
}

Encoding terminal_encoding() {
  return is_shift_jis_codeset(nl_langinfo(CODESET)) ? Encoding::kShiftJis
                                                    : Encoding::kUtf8;
}

std::size_t character_length(std::string_view text, Encoding encoding) {
  if (text.empty()) return 0;
  const auto c = static_cast<unsigned char>(text[0]);
  if (encoding == Encoding::kShiftJis) {
    return is_sjis_lead(c) && text.size() >= 2 &&
                   is_sjis_trail(static_cast<unsigned char>(text[1]))
               ? 2
               : 1;
  }
  std::size_t n = c >= 0xF0 && c <= 0xF4   ? 4
                  : c >= 0xE0 && c <= 0xEF ? 3
                  : c >= 0xC2 && c <= 0xDF ? 2
                                           : 1;
  if (n > text.size()) return 1;
  for (std::size_t i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

std::optional<std::string> missing_converter(Encoding from, Encoding to) {
  const iconv_t cd = open_iconv(from, to);
  if (cd != kNoConversion) {
    close_iconv(cd);
    return std::nullopt;
  }
  if (from == to) return std::nullopt;
  const int error = errno;
  return std::string("the C library cannot convert from ") + iconv_name(from) +
         " to " + iconv_name(to) + " (iconv: " + std::strerror(error) +
         "); its gconv modules are missing";
}

StreamConverter::StreamConverter(Encoding from, Encoding to)
    : from_(from),
      cd_(open_iconv(from, to)),
      replacement_(replacement_for(to)) {}

StreamConverter::~StreamConverter() {
  if (cd_ != kNoConversion) close_iconv(cd_);
}

std::string StreamConverter::feed(std::string_view piece) {
  return convert(piece, false);
}

std::string StreamConverter::finish() { return convert({}, true); }

std::string StreamConverter::convert(std::string_view piece, bool last) {
  if (cd_ == kNoConversion) return std::string(piece);
  pending_.append(piece);
  std::string_view in = pending_;
  std::string out;
  for (;;) {
    const Stop stop = run_iconv(cd_, in, out);
    if (stop == Stop::kDone) break;
    if (stop == Stop::kIncomplete && !last) break;  // wait for the rest
    out += replacement_;
    in.remove_prefix(stop == Stop::kIncomplete ? in.size()
                                               : character_length(in, from_));
  }
  pending_.erase(0, pending_.size() - in.size());
  return out;
}

std::string convert_text(std::string_view text, Encoding from, Encoding to) {
  StreamConverter converter(from, to);
  std::string out = converter.feed(text);
  out += converter.finish();
  return out;
}

std::optional<std::string> convert_all(std::string_view text, Encoding from,
                                       Encoding to, std::size_t* bad_at) {
  if (from == to) return std::string(text);
  const iconv_t cd = open_iconv(from, to);
  if (cd == kNoConversion) {
    // zemuc makes sure at its start that this does not happen; should it,
    // no character is to blame.
    if (bad_at != nullptr) *bad_at = std::string_view::npos;
    return std::nullopt;
  }
  std::string_view in = text;
  std::string out;
  const Stop stop = run_iconv(cd, in, out);
  close_iconv(cd);
  if (stop == Stop::kDone) return out;
  if (bad_at != nullptr) *bad_at = text.size() - in.size();
  return std::nullopt;
}

// The code point of the well-formed UTF-8 character at the start of `text`.
void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  // The lead byte's marks, and how many continuation bytes follow it.
  const int more = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  constexpr unsigned char kLeads[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLeads[more] | (c >> (6 * more)));
  for (int i = more - 1; i >= 0; --i) {
    out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
  }
}

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

namespace {

// The length of the well-formed UTF-8 character at the start of `text`, or
// 0: overlong forms and surrogates are no characters.
std::size_t valid_utf8_length(std::string_view text) {
  if (static_cast<unsigned char>(text[0]) < 0x80) return 1;
  const std::size_t n = character_length(text, Encoding::kUtf8);
  if (n == 1) return 0;
  const char32_t cp = code_point(text);
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  return n;
}

}  // namespace

bool is_valid_utf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = valid_utf8_length(text.substr(i));
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string with_invalid_utf8_replaced(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = valid_utf8_length(text.substr(i));
    out.append(n == 0 ? kUtf8Replacement : text.substr(i, n));
    i += n == 0 ? 1 : n;
  }
  return out;
}

}  // namespace zemuc
