// Conversion between the Shift-JIS (code page 932) bytes of the language
// and the encoding of the user's terminal, through iconv(3).
#ifndef ZEMUC_TEXT_ENCODING_H_
#define ZEMUC_TEXT_ENCODING_H_

#include <iconv.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zemuc {

enum class Encoding { kUtf8, kShiftJis };

// The iconv name of an encoding.
const char* iconv_name(Encoding encoding);

// True for the names a locale gives Shift-JIS by (SJIS, SHIFT_JIS, CP932,
// WINDOWS-31J ...), in any case.
bool is_shift_jis_codeset(std::string_view codeset);

// The terminal's encoding from the locale's codeset (call setlocale first):
// Shift-JIS when the locale says so, UTF-8 otherwise, the C locale included.
Encoding terminal_encoding();

// The length of the character that starts `text` when it is well-formed in
// `encoding` (a lead byte with a possible trail byte, a UTF-8 sequence of
// the length its first byte announces), else 1. Used to step over a
// character that has no form in the other encoding.
std::size_t character_length(std::string_view text, Encoding encoding);

// Whether iconv can convert between the two encodings; nothing when it
// can, else a sentence naming the encoding it lacks. zemuc asks once, at
// its start, so that no conversion later fails for that reason.
std::optional<std::string> missing_converter(Encoding from, Encoding to);

// Converts a stream piece by piece. A character split between two pieces
// is kept back and converted whole with the next piece; a character that
// cannot be converted becomes `replacement` and the conversion goes on.
// Where iconv lacks the conversion (see missing_converter), the bytes pass
// unchanged.
class StreamConverter {
 public:
  StreamConverter(Encoding from, Encoding to);
  ~StreamConverter();
  StreamConverter(const StreamConverter&) = delete;
  StreamConverter& operator=(const StreamConverter&) = delete;

  // The converted text of everything fed so far that forms whole
  // characters.
  std::string feed(std::string_view piece);
  // At the end of the stream: a character left incomplete, as replacement.
  std::string finish();

 private:
  std::string convert(std::string_view piece, bool last);

  Encoding from_;
  iconv_t cd_;  // (iconv_t)-1 when no conversion is needed
  std::string replacement_;
  std::string pending_;  // the start of a character still incomplete
};

// The whole of `text` converted, each character without a form in `to`
// (or not well-formed in `from`) replaced: the one conversion of a whole
// text for people to read.
std::string convert_text(std::string_view text, Encoding from, Encoding to);

// Shift-JIS bytes for the terminal, replacing what does not convert.
inline std::string sjis_for_terminal(std::string_view sjis_text,
                                     Encoding terminal) {
  return convert_text(sjis_text, Encoding::kShiftJis, terminal);
}

// The whole of `text` converted exactly; nothing when a character has no
// form in `to` or the text is not well-formed in `from`, with the byte
// offset of the first such character in `bad_at`.
std::optional<std::string> convert_all(std::string_view text, Encoding from,
                                       Encoding to,
                                       std::size_t* bad_at = nullptr);

// Whether `text` is well-formed UTF-8: no overlong forms, no surrogates.
bool is_valid_utf8(std::string_view text);

// `text` with each byte that is part of no well-formed UTF-8 character
// replaced by U+FFFD, as editors show such bytes.
std::string with_invalid_utf8_replaced(std::string_view text);

// The code point of the well-formed UTF-8 character at the start of `text`.
char32_t code_point(std::string_view utf8_text);

// Appends the UTF-8 form of the code point `c` (at most U+10FFFF).
void append_utf8(std::string& out, char32_t c);

}  // namespace zemuc

#endif  // ZEMUC_TEXT_ENCODING_H_
