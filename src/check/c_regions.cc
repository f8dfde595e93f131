#include "check/c_regions.h"

#include "text/encoding.h"

namespace zemuc::check {
namespace {

class RegionMarker {
 public:
  // Marks `text` in `regions`, and in `spans`, when given, its pieces with
  // their offsets from `base`.
  RegionMarker(std::string_view text, std::vector<Region>& regions,
               std::vector<CSpan>* spans = nullptr, std::size_t base = 0)
      : text_(text), regions_(regions), spans_(spans), base_(base) {
    regions_.assign(text.size(), Region::kCode);
  }

  // Returns whether the text ends inside a block comment.
  bool run(bool in_block_comment) {
    if (in_block_comment) {
      const bool closed = block_comment();
      piece(0, Region::kBlockComment);
      if (!closed) return true;
    }
    while (i_ < text_.size()) {
      const std::size_t start = i_;
      if (starts("/*")) {
        mark(2, Region::kBlockComment);
        const bool closed = block_comment();
        piece(start, Region::kBlockComment);
        if (!closed) return true;
      } else if (starts("//")) {
        mark(text_.size() - i_, Region::kLineComment);
        piece(start, Region::kLineComment);
      } else if (text_[i_] == '"' || text_[i_] == '\'') {
        literal(text_[i_]);
        piece(start, Region::kLiteral);
      } else {
        mark(character(), Region::kCode);
        piece(start, Region::kCode);
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
  void piece(std::size_t start, Region region) {
    if (spans_ != nullptr)
      spans_->push_back({base_ + start, base_ + i_, region});
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
  std::vector<CSpan>* spans_;
  std::size_t base_;
  std::size_t i_ = 0;
};

}  // namespace

bool mark_regions(std::string_view text, bool in_block_comment,
                  std::vector<Region>& regions) {
  return RegionMarker(text, regions).run(in_block_comment);
}

std::vector<CSpan> c_spans(std::string_view text) {
  std::vector<CSpan> spans;
  std::vector<Region> regions;
  bool in_block_comment = false;
  for (std::size_t begin = 0; begin < text.size();) {
    const std::size_t end = std::min(text.find('\n', begin), text.size());
    in_block_comment =
        RegionMarker(text.substr(begin, end - begin), regions, &spans, begin)
            .run(in_block_comment);
    if (end < text.size()) spans.push_back({end, end + 1, Region::kCode});
    begin = end + 1;
  }
  return spans;
}

std::size_t find_in_code(std::string_view text, char c) {
  for (const CSpan& span : c_spans(text)) {
    if (span.region == Region::kCode && text[span.begin] == c) {
      return span.begin;
    }
  }
  return std::string_view::npos;
}

}  // namespace zemuc::check
