#include "text/cp932.h"

#include <algorithm>

#include "text/cp932_table.h"
#include "text/encoding.h"

namespace zemuc::cp932 {
namespace {

// The row of kDoubles for a lead byte, or kLeads for a byte that leads
// nothing.
std::size_t lead_row(unsigned char c) {
  if (c >= 0x81 && c <= 0x9F) return c - 0x81;
  if (c >= 0xE0 && c <= 0xFC) return c - 0xE0 + (0x9F - 0x81 + 1);
  return kLeads;
}

// The length of the UTF-8 character `in` starts with, once all of it is
// there: 0 when it is cut short, 1 for a byte that starts none.
std::size_t utf8_length(std::string_view in) {
  const auto c = static_cast<unsigned char>(in[0]);
  const std::size_t n = c >= 0xF0 && c <= 0xF4   ? 4
                        : c >= 0xE0 && c <= 0xEF ? 3
                        : c >= 0xC2 && c <= 0xDF ? 2
                                                 : 1;
  for (std::size_t i = 1; i < n; ++i) {
    if (i == in.size()) return 0;
    if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

}  // namespace

Stop to_utf8(std::string_view& in, std::string& out) {
  while (!in.empty()) {
    const auto first = static_cast<unsigned char>(in[0]);
    const std::size_t row = lead_row(first);
    char16_t c = kSingles[first];
    std::size_t used = 1;
    if (row != kLeads) {
      if (in.size() < 2) return Stop::kIncomplete;
      const auto trail = static_cast<unsigned char>(in[1]);
      c = trail >= 0x40 && trail <= 0xFC ? kDoubles[row][trail - 0x40] : kNone;
      used = 2;
    }
    if (c == kNone) return Stop::kBad;
    append_utf8(out, c);
    in.remove_prefix(used);
  }
  return Stop::kDone;
}

Stop from_utf8(std::string_view& in, std::string& out) {
  while (!in.empty()) {
    const std::size_t n = utf8_length(in);
    if (n == 0) return Stop::kIncomplete;
    if (n == 1 && static_cast<unsigned char>(in[0]) >= 0x80) return Stop::kBad;
    const char32_t c = code_point(in.substr(0, n));
    if (c < 0x80) {
      out += static_cast<char>(c);
      in.remove_prefix(1);
      continue;
    }
    const Written* const end = kWritten + kWrittenCount;
    const Written* const found = std::lower_bound(
        kWritten, end, c,
        [](const Written& w, char32_t key) { return w.character < key; });
    // Overlong forms and surrogates have no form, as in iconv.
    if (found == end || found->character != c || (n == 3 && c < 0x800) ||
        (c >= 0xD800 && c <= 0xDFFF)) {
      return Stop::kBad;
    }
    if (found->code > 0xFF) out += static_cast<char>(found->code >> 8);
    out += static_cast<char>(found->code & 0xFF);
    in.remove_prefix(n);
  }
  return Stop::kDone;
}

}  // namespace zemuc::cp932
