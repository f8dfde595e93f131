#include "check/c_regions.h"

#include "text/encoding.h"

namespace zemuc::check {
namespace {

class RegionMarker {
 public:
  RegionMarker(std::string_view text, std::vector<Region>& regions)
      : text_(text), regions_(regions) {
    regions_.assign(text.size(), Region::kCode);
  }

  // Returns whether the text ends inside a block comment.
  bool run(bool in_block_comment) {
    if (in_block_comment && !block_comment()) return true;
    while (i_ < text_.size()) {
      if (starts("/*")) {
        mark(2, Region::kBlockComment);
        if (!block_comment()) return true;
      } else if (starts("//")) {
        mark(text_.size() - i_, Region::kLineComment);
      } else if (text_[i_] == '"' || text_[i_] == '\'') {
        literal(text_[i_]);
      } else {
        mark(character(), Region::kCode);
      }
    }
    return false;
  }

 private:
  bool starts(std::string_view s) const {
    return text_.substr(i_).starts_with(s);
  }
  std::size_t character() const {
    return character_length(text_.substr(i_), Encoding::kShiftJis);
  }
  void mark(std::size_t n, Region region) {
    for (std::size_t end = i_ + n; i_ < end; ++i_) regions_[i_] = region;
  }
  // Marks up to and including the "*/" that closes the comment; false when
  // the text ends first.
  bool block_comment() {
    while (i_ < text_.size()) {
      if (starts("*/")) {
        mark(2, Region::kBlockComment);
        return true;
      }
      mark(1, Region::kBlockComment);
    }
    return false;
  }
  void literal(char quote) {
    mark(1, Region::kLiteral);
    while (i_ < text_.size()) {
      const char c = text_[i_];
      if (c == quote) {
        mark(1, Region::kLiteral);
        return;
      }
      const std::size_t n = c == '\\' ? 2 : character();
      mark(std::min(n, text_.size() - i_), Region::kLiteral);
    }
  }

  std::string_view text_;
  std::vector<Region>& regions_;
  std::size_t i_ = 0;
};

}  // namespace

bool mark_regions(std::string_view text, bool in_block_comment,
                  std::vector<Region>& regions) {
  return RegionMarker(text, regions).run(in_block_comment);
}

}  // namespace zemuc::check
