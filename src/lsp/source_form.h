// An editor's UTF-8 text as the translator reads it: Shift-JIS, character
// for character, so that the n-th character of a line is the n-th in both.
#ifndef ZEMUC_LSP_SOURCE_FORM_H_
#define ZEMUC_LSP_SOURCE_FORM_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zemuc::lsp {

// A character of the UTF-8 text that has no Shift-JIS form.
struct Unconvertible {
  std::size_t offset;  // in the UTF-8 text
  std::size_t length;  // its UTF-8 bytes
  char32_t code;
};

struct SourceForm {
  // Bytes of the UTF-8 text skipped before the conversion: a byte-order
  // mark, which zemuc's other commands drop as well.
  std::size_t skipped = 0;
  std::string sjis;
  // Each stands in `sjis` as the stand-in character, so that the rest of
  // the text is still read as written.
  std::vector<Unconvertible> unconvertible;
  // False when iconv lacks the conversion itself; `sjis` is then empty.
  bool converted = true;
};

SourceForm source_form(std::string_view utf8);

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_SOURCE_FORM_H_
