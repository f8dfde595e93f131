// The front end of a source for the companion and the language server:
// Shift-JIS as the language defines, or UTF-8 as Linux editors save it,
// with or without a byte-order mark, turned into the Shift-JIS bytes the
// translator reads. What goes wrong is data (a kind and a place), for each
// caller to tell in its own way.
#ifndef ZEMUC_TEXT_SOURCE_TEXT_H_
#define ZEMUC_TEXT_SOURCE_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/encoding.h"

namespace zemuc {

// The UTF-8 byte-order mark, which editors may write first and which is
// no part of the program.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Where a byte offset of a text stands: line and column counted from 1,
// the column in characters of `encoding`.
struct Place {
  std::size_t line = 1;
  std::size_t column = 1;
};
Place place_of(std::string_view text, std::size_t offset, Encoding encoding);

// How a source's bytes are read: after `skipped` bytes of a byte-order
// mark, in `encoding`. A text that begins with the mark, or is valid UTF-8
// and holds a character beyond ASCII, is UTF-8; any other is Shift-JIS.
struct SourceReading {
  std::size_t skipped = 0;
  Encoding encoding = Encoding::kShiftJis;
};
SourceReading source_reading(std::string_view bytes);

// A source turned into Shift-JIS, or why it was not.
struct SourceSjis {
  enum class Problem {
    kNone,
    kNoConverter,  // iconv lacks the conversion; the source is not to blame
    kNoShiftJis,   // a UTF-8 character without a Shift-JIS form
    kNotShiftJis,  // a byte that starts no Shift-JIS character
  };
  Problem problem = Problem::kNone;
  std::string sjis;  // empty unless there is no problem
  // The reading, and the bad character of kNoShiftJis and kNotShiftJis:
  // its bytes and code point (UTF-8), or its first byte (Shift-JIS), and
  // its place in the text after the byte-order mark.
  SourceReading reading;
  std::string_view character;
  char32_t code = 0;
  Place place;
};
SourceSjis convert_source(std::string_view bytes);

// A character of a UTF-8 text that has no Shift-JIS form.
struct Unconvertible {
  std::size_t offset;  // in the UTF-8 text
  std::size_t length;  // its UTF-8 bytes
  char32_t code;
};

// An editor's UTF-8 text as the translator reads it: Shift-JIS, character
// for character, so that the n-th character of a line is the n-th in both.
struct SourceForm {
  // Bytes of the UTF-8 text skipped before the conversion: a byte-order
  // mark.
  std::size_t skipped = 0;
  std::string sjis;
  // Each stands in `sjis` as `stand_in`, so that the rest of the text is
  // still read as written.
  std::vector<Unconvertible> unconvertible;
  // False when iconv lacks the conversion itself; `sjis` is then empty.
  bool converted = true;
};
SourceForm source_form(std::string_view utf8, std::string_view stand_in);

}  // namespace zemuc

#endif  // ZEMUC_TEXT_SOURCE_TEXT_H_
