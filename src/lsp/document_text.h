// The text of an open document, and the positions of the protocol in it:
// lines split at LF, CR LF or CR, characters counted in UTF-16 code units
// or in UTF-8 bytes, as the client and the server agreed.
#ifndef ZEMUC_LSP_DOCUMENT_TEXT_H_
#define ZEMUC_LSP_DOCUMENT_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zemuc::lsp {

enum class PositionEncoding { kUtf16, kUtf8 };

struct Position {
  std::size_t line = 0;
  std::size_t character = 0;
  bool operator==(const Position&) const = default;
};

// The bytes of the UTF-8 character that starts `text` (1 for a byte that
// starts none, so that a walk always moves on).
std::size_t utf8_length(std::string_view text);

// The code units that a UTF-8 character of `length` bytes counts for: a
// character outside the Basic Multilingual Plane is two UTF-16 units.
std::size_t units_of(std::size_t length, PositionEncoding encoding);

class DocumentText {
 public:
  explicit DocumentText(std::string text = {});

  const std::string& text() const { return text_; }
  std::size_t line_count() const { return starts_.size(); }
  std::size_t line_start(std::size_t line) const { return starts_[line]; }
  // Where the line's text ends, before its line break.
  std::size_t line_end(std::size_t line) const;

  // The byte offset of a position. A line past the last one means the end
  // of the text; a character past the end of its line, the end of the
  // line; a character inside a surrogate pair, the start of that character.
  std::size_t offset_of(Position position, PositionEncoding encoding) const;
  // The position of a byte offset (an offset inside a character counts as
  // its start).
  Position position_of(std::size_t offset, PositionEncoding encoding) const;
  // The line that holds `offset`.
  std::size_t line_of(std::size_t offset) const;

  // Replaces the bytes [from, to) and keeps the line index up to date by
  // scanning only the lines the change touches.
  void replace(std::size_t from, std::size_t to, std::string_view with);

 private:
  std::string text_;
  std::vector<std::size_t> starts_;  // where each line begins; [0] is 0
};

// Positions of offsets that rise, as a document's diagnostics and
// references are listed: one walk along a line serves all its offsets, so
// that a line of megabytes is not walked again for each.
class PositionCursor {
 public:
  PositionCursor(const DocumentText& text, PositionEncoding encoding)
      : text_(text), encoding_(encoding) {}
  Position position_of(std::size_t offset);

 private:
  const DocumentText& text_;
  PositionEncoding encoding_;
  std::size_t line_ = 0;
  std::size_t offset_ = 0;  // a character start in line_, or line_ unused
  std::size_t units_ = 0;   // the units from the line's start to offset_
  bool valid_ = false;
};

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_DOCUMENT_TEXT_H_
