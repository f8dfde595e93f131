// The translator as the browser's playground runs it: a source in
// Shift-JIS read whole from one stream, its C text written to another and
// the translator's console text to a third, without files, processes or a
// terminal.
#ifndef ZEMUC_WEB_FILTER_H_
#define ZEMUC_WEB_FILTER_H_

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace zemuc::web {

// The status when the source cannot be read or a text cannot be written
// whole; otherwise the status is the translator's own.
inline constexpr int kStatusStreamFailed = 74;

// The whole of `in`, or nothing with errno saying why.
std::optional<std::string> read_all(std::FILE* in);

// Writes `text` whole and flushes it; false with errno saying why.
bool write_all(std::FILE* out, std::string_view text);

// Translates what `in` holds as zemucfilter translates a file named
// `source_name`, writes the C text to `out` (what zemucfilter writes to its
// output file, also when it rejects a line) and the console text, Shift-JIS,
// to `messages`; returns the status.
int run_filter(std::string_view source_name, std::FILE* in, std::FILE* out,
               std::FILE* messages);

}  // namespace zemuc::web

#endif  // ZEMUC_WEB_FILTER_H_
