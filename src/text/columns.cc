#include "text/columns.h"

#include "text/encoding.h"

namespace zemuc {

std::size_t character_at(std::string_view line, std::size_t offset) {
  return character_length(line.substr(offset), Encoding::kShiftJis);
}

std::size_t ColumnWalker::column_at(std::size_t offset) {
  while (offset_ < line_.size()) {
    const std::size_t next = offset_ + character_at(line_, offset_);
    if (next > offset) break;
    offset_ = next;
    ++column_;
  }
  return column_;
}

std::size_t offset_of_column(std::string_view line, std::size_t column) {
  std::size_t offset = 0;
  for (std::size_t c = 1; c < column && offset < line.size(); ++c) {
    offset += character_at(line, offset);
  }
  return offset;
}

}  // namespace zemuc
