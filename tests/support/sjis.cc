#include "support/sjis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace zemuc::testing {
namespace {

std::string convert(std::string_view text, const char* to, const char* from,
                    bool lenient) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "iconv cannot convert %s to %s\n", from, to);
    std::abort();
  }
  std::string out;
  std::string input(text);
  char* in = input.data();
  std::size_t in_left = input.size();
  char buffer[4096];
  while (in_left > 0) {
    char* o = buffer;
    std::size_t o_left = sizeof buffer;
    const std::size_t r = iconv(cd, &in, &in_left, &o, &o_left);
    out.append(buffer, o - buffer);
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      if (!lenient) {
        iconv_close(cd);
        std::fprintf(stderr, "text has no %s form: %s\n", to, input.c_str());
        std::abort();
      }
      // Shown as a hex escape; only failure messages take this path.
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X",
                    static_cast<unsigned char>(*in));
      out += hex;
      ++in;
      --in_left;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string sjis(std::string_view utf8_text) {
  return convert(utf8_text, "CP932", "UTF-8", false);
}

std::string utf8(std::string_view sjis_text) {
  return convert(sjis_text, "UTF-8", "CP932", true);
}

}  // namespace zemuc::testing
