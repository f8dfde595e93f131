#include "symbols/text_store.h"

#include <cstring>

namespace zemuc {

std::string_view TextStore::keep(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > kBlockSize / 4) {
    // A long text gets a block of its own, so the current block is not wasted.
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
    std::memcpy(blocks_.back().get(), text.data(), text.size());
    return {blocks_.back().get(), text.size()};
  }
  if (text.size() > free_) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    next_ = blocks_.back().get();
    free_ = kBlockSize;
  }
  char* stored = next_;
  std::memcpy(stored, text.data(), text.size());
  next_ += text.size();
  free_ -= text.size();
  return {stored, text.size()};
}

}  // namespace zemuc
