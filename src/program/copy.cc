#include "program/copy.h"

#include <algorithm>
#include <cstdio>

#include "check/c_regions.h"
#include "program/checked_frame.h"
#include "program/plain_frame.h"
#include "text/encoding.h"

namespace zemuc {
namespace {

using check::Region;

// What a checked program holds beyond prog.c, ahead of everything else,
// is checked_frame(), the checks of runtime/checks.c. Without checks it is
// plain_frame(), with plain_trailer() after the C text: the declaration of
// the run-time file's function, which the C calls undeclared, and the
// watch that notes where a fault stopped the program. The checks without
// sanitizers have both, the watch first.

std::string line_directive(std::size_t number, std::string_view file) {
  std::string out = "#line " + std::to_string(number) + " \"";
  for (const char c : file) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\%03o", byte);
      out += escaped;
    } else {
      out += c;  // UTF-8 names stay readable
    }
  }
  return out + "\"\n";
}

bool is_high(char c) { return static_cast<unsigned char>(c) >= 0x80; }

class CopyWriter {
 public:
  CopyWriter(const Program& program, Frame frame)
      : program_(program), c_(program.c_text()), frame_(frame) {
    start_copy_line();
    if (frame != Frame::kChecked) frame_text(plain_frame());
    if (frame != Frame::kPlain) frame_text(checked_frame());
  }

  CompilerCopy run() {
    bool in_block = false;
    bool after_splice = false;
    std::size_t pos = 0;
    while (pos < c_.size()) {
      const std::size_t lf = c_.find('\n', pos);
      const std::size_t end = lf == std::string::npos ? c_.size() : lf;
      const std::string_view content(c_.data() + pos, end - pos);
      const bool ends_in_block =
          check::mark_regions(content, in_block, regions_);
      const bool is_directive = directive_line(content, in_block);
      for (std::size_t i = 0; i <= content.size();) {
        while (next_line_ <= program_.line_count() &&
               program_.c_begin(next_line_) <= pos + i) {
          begin_source_line(next_line_++, splittable(i, in_block, is_directive),
                            in_block && i == 0, after_splice);
        }
        if (i == content.size()) break;
        i += copy_piece(content, pos, i, limit(pos, content.size()), in_block);
      }
      close_line_comment(end);
      if (lf == std::string::npos) break;
      after_splice = false;
      const std::size_t next = lf + 1;
      const bool line_starts_next = next_line_ <= program_.line_count() &&
                                    program_.c_begin(next_line_) <= next;
      if (!line_starts_next &&
          joinable(content, is_directive, next, ends_in_block)) {
        anchor(lf, true);
        text_ += ' ';
        ++column_;
      } else {
        after_splice = ends_with_backslash(content, in_block);
        text_ += '\n';
        new_copy_line();
        // The rest of the same source line, on a line of its own.
        if (!line_starts_next && !ends_in_block && !after_splice &&
            current_source_ != 0) {
          name_line(current_source_);
        }
      }
      pos = next;
      in_block = ends_in_block;
    }
    while (next_line_ <= program_.line_count()) ++next_line_;
    if (!text_.empty() && text_.back() != '\n') {
      text_ += '\n';
      new_copy_line();
    }
    if (frame_ != Frame::kChecked) frame_text(plain_trailer());
    finish_copy_line();
    return {std::move(text_), std::move(map_)};
  }

 private:
  // The copy's lines and what the compiler calls each.
  void start_copy_line() {
    current_ = {file_, number_, false, {}};
    column_ = 1;
    same_run_ = false;
  }
  void finish_copy_line() { map_.add(std::move(current_)); }
  void new_copy_line() {
    finish_copy_line();
    ++number_;
    start_copy_line();
  }
  void directive(CopyMap::File file, std::size_t number) {
    text_ +=
        line_directive(number, file == CopyMap::File::kFrame
                                   ? kFrameName
                                   : std::string_view(program_.source_name()));
    file_ = file;
    number_ = number;
    start_copy_line();
  }
  // The frame's text, at a copy line's start, named as the frame.
  void frame_text(std::string_view text) {
    directive(CopyMap::File::kFrame, 1);
    for (const char c : text) {
      text_ += c;
      if (c == '\n') new_copy_line();
    }
  }
  // Names the next copy line after source line n (at a copy line's start).
  void name_line(std::size_t n) {
    if (program_.line(n).frame()) {
      if (file_ != CopyMap::File::kFrame) directive(CopyMap::File::kFrame, 1);
    } else if (file_ != CopyMap::File::kSource || number_ != n) {
      directive(CopyMap::File::kSource, n);
    }
  }

  // Source line n's C text begins here. Its copy line is named for it
  // where a directive can stand: at the start of a copy line outside a
  // comment, or after a line end put in where C allows one. Elsewhere the
  // compiler counts on, and the map still knows each byte's line.
  void begin_source_line(std::size_t n, bool splittable, bool in_comment,
                         bool after_splice) {
    current_source_ = n;
    const bool at_start = column_ == 1;
    if (at_start && !in_comment && !after_splice) {
      name_line(n);
    } else if (!at_start && splittable) {
      text_ += '\n';
      new_copy_line();
      name_line(n);
    }
  }

  // The offset where the copy must stop a piece: the next source line's
  // C text, or the end of this line.
  std::size_t limit(std::size_t pos, std::size_t size) const {
    std::size_t stop = pos + size;
    if (next_line_ <= program_.line_count()) {
      stop = std::min(stop, program_.c_begin(next_line_));
    }
    return stop - pos;
  }

  // Copies what starts at byte i of the line: ASCII bytes as they are,
  // a character of a literal as octal escapes, other characters as UTF-8.
  // A // comment becomes a /* */ comment, after which the line end may go:
  // it is one piece of text to the compiler, whatever it holds, unless a
  // backslash carries it on to the next line. Returns the bytes taken.
  std::size_t copy_piece(std::string_view content, std::size_t pos,
                         std::size_t i, std::size_t stop, bool in_block) {
    const Region region = regions_[i];
    if (region == Region::kLineComment && !comment_open_ &&
        content.substr(i).starts_with("//") &&
        (i == 0 ? !in_block : regions_[i - 1] != Region::kLineComment) &&
        !ends_with_backslash(content, false)) {
      anchor(pos + i, false);
      text_ += "/*";
      column_ += 2;
      comment_open_ = true;
      return 2;
    }
    if (comment_open_ && content.substr(i).starts_with("*/")) {
      anchor(pos + i, false);
      text_ += "* /";  // not the end of the comment
      column_ += 3;
      return 2;
    }
    if (!is_high(content[i])) {
      std::size_t n = 1;
      if (region == Region::kLiteral && content[i] == '\\' && i + 1 < stop &&
          !is_high(content[i + 1])) {
        n = 2;  // an escape of the literal, as it is
      }
      anchor(pos + i, true);
      text_.append(content.substr(i, n));
      column_ += n;
      return n;
    }
    if (region == Region::kLiteral) {
      const std::size_t n = std::min(
          character_length(content.substr(i), Encoding::kShiftJis), stop - i);
      anchor(pos + i, false);
      for (std::size_t k = i; k < i + n; ++k) {
        char escaped[8];
        // Always three digits: a digit after the escape stays a digit.
        std::snprintf(escaped, sizeof escaped, "\\%03o",
                      static_cast<unsigned char>(content[k]));
        text_ += escaped;
        column_ += 4;
      }
      return n;
    }
    std::size_t n = 0;
    while (i + n < stop && is_high(content[i + n]) &&
           regions_[i + n] != Region::kLiteral) {
      n += character_length(content.substr(i + n), Encoding::kShiftJis);
    }
    n = std::min(n, stop - i);
    anchor(pos + i, false);
    const std::string utf8 = convert_text(content.substr(i, n),
                                          Encoding::kShiftJis, Encoding::kUtf8);
    text_ += utf8;
    column_ += utf8.size();
    return n;
  }

  // Ends a // comment made a /* */ comment before the line end at `end`.
  void close_line_comment(std::size_t end) {
    if (!comment_open_) return;
    anchor(end, false);
    text_ += " */";
    column_ += 3;
    comment_open_ = false;
  }

  void anchor(std::size_t c_offset, bool same_bytes) {
    if (same_bytes && same_run_) return;
    current_.anchors.push_back({column_, c_offset, same_bytes});
    same_run_ = same_bytes;
  }

  // Whether a line end may be put in before byte i: in code, not in a
  // preprocessor line.
  bool splittable(std::size_t i, bool in_block, bool is_directive) const {
    if (is_directive) return false;
    if (i == 0) return !in_block;
    return regions_[i - 1] == Region::kCode;
  }

  // A line of the preprocessor: its first character, in code, is '#'.
  static bool directive_line(std::string_view content, bool in_block) {
    if (in_block) return false;
    const std::size_t first = content.find_first_not_of(" \t");
    return first != std::string_view::npos && content[first] == '#';
  }

  // Whether the line end after `content` may become a blank, keeping the
  // source line's C text on one copy line: not after a preprocessor line, a
  // // comment, a literal or a backslash that joins lines, and not before a
  // preprocessor line.
  bool joinable(std::string_view content, bool is_directive, std::size_t next,
                bool ends_in_block) const {
    if (is_directive) return false;
    if (!content.empty()) {
      const Region last = regions_[content.size() - 1];
      if (last == Region::kLiteral) return false;
      if ((last == Region::kCode || last == Region::kLineComment) &&
          ends_with_backslash(content, false)) {
        return false;
      }
    }
    const std::size_t lf = c_.find('\n', next);
    const std::string_view after(
        c_.data() + next, (lf == std::string::npos ? c_.size() : lf) - next);
    return !directive_line(after, ends_in_block);
  }

  // Whether the line ends with a backslash that is a character of its own,
  // not the second byte of a Shift-JIS character.
  static bool ends_with_backslash(std::string_view content, bool in_block) {
    if (in_block || content.empty() || content.back() != '\\') return false;
    std::size_t i = 0;
    std::size_t last = 0;
    while (i < content.size()) {
      last = i;
      i += character_length(content.substr(i), Encoding::kShiftJis);
    }
    return last == content.size() - 1;
  }

  const Program& program_;
  const std::string& c_;
  const Frame frame_;
  std::string text_;
  CopyMap map_;
  std::vector<Region> regions_;
  CopyMap::Line current_{};
  CopyMap::File file_ = CopyMap::File::kFrame;
  std::size_t number_ = 1;
  std::size_t column_ = 1;
  bool same_run_ = false;
  bool comment_open_ = false;
  std::size_t next_line_ = 1;
  std::size_t current_source_ = 0;
};

}  // namespace

std::optional<std::size_t> CopyMap::find(File file, std::size_t line,
                                         std::size_t column) const {
  const Line* best = nullptr;
  for (const Line& candidate : lines_) {
    if (candidate.file != file || candidate.number != line ||
        candidate.anchors.empty()) {
      continue;
    }
    if (best == nullptr) best = &candidate;
    if (candidate.anchors.front().column <= column) {
      best = &candidate;
      break;
    }
  }
  if (best == nullptr) return std::nullopt;
  const auto after = std::upper_bound(
      best->anchors.begin(), best->anchors.end(), column,
      [](std::size_t c, const Anchor& a) { return c < a.column; });
  const Anchor& a = after == best->anchors.begin() ? *after : *(after - 1);
  if (!a.same_bytes || column < a.column) return a.c_offset;
  return a.c_offset + (column - a.column);
}

bool names_file(std::string_view named, std::string_view file) {
  if (named == file) return true;
  if (file.empty() || file.front() == '/') return false;
  std::string_view plain = file;
  while (plain.starts_with("./")) plain.remove_prefix(2);
  return named.size() > plain.size() && named.ends_with(plain) &&
         named[named.size() - plain.size() - 1] == '/';
}

CompilerCopy make_compiler_copy(const Program& program, Frame frame) {
  return CopyWriter(program, frame).run();
}

}  // namespace zemuc
