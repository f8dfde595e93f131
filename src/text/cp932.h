// Conversion between code page 932 and UTF-8 through the tables of
// text/cp932_table.h, character for character as glibc's iconv converts:
// what the encoding layer uses where the C library's iconv has no CP932.
#ifndef ZEMUC_TEXT_CP932_H_
#define ZEMUC_TEXT_CP932_H_

#include <string>
#include <string_view>

namespace zemuc::cp932 {

// How a run of conversion ended, as iconv's would: everything converted,
// a character without a form in the other encoding (or not well-formed),
// or a character cut short by the end of the input.
enum class Stop { kDone, kBad, kIncomplete };

// Converts as much of `in` as can be, appending to `out`; `in` keeps what
// is left, starting at the character that stopped the run.
Stop to_utf8(std::string_view& in, std::string& out);
Stop from_utf8(std::string_view& in, std::string& out);

}  // namespace zemuc::cp932

#endif  // ZEMUC_TEXT_CP932_H_
