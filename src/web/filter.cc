#include "web/filter.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "driver/memory_translation.h"

namespace zemuc::web {
namespace {

int fail(std::FILE* messages, const char* what, int error) {
  // Nothing is left to tell a failure of this one with.
  (void)std::fprintf(messages, "zemucweb: %s: %s\n", what,
                     std::strerror(error));
  return kStatusStreamFailed;
}

}  // namespace

// Writes `text` whole and flushes it; false with errno saying why.
bool write_all(std::FILE* out, std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
    return false;
  }
  return std::fflush(out) == 0;
}

// The whole of `in`, or nothing with errno saying why.
std::optional<std::string> read_all(std::FILE* in) {
  std::string text;
  std::array<char, 1 << 16> buffer;
  std::size_t n = 0;
  do {
    n = std::fread(buffer.data(), 1, buffer.size(), in);
    text.append(buffer.data(), n);
  } while (n == buffer.size());
  if (std::ferror(in)) return std::nullopt;
  return text;
}

int run_filter(std::string_view source_name, std::FILE* in, std::FILE* out,
               std::FILE* messages) {
  errno = 0;
  std::optional<std::string> source = read_all(in);
  if (!source) return fail(messages, "cannot read the source", errno);
  const Translation translation =
      translate_in_memory(source_name, std::move(*source));
  errno = 0;
  if (!write_all(out, translation.c_text)) {
    return fail(messages, "cannot write the C text", errno);
  }
  errno = 0;
  if (!write_all(messages, translation.console)) {
    return fail(messages, "cannot write the console text", errno);
  }
  return translation.status;
}

}  // namespace zemuc::web
