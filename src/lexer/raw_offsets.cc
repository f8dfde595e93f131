#include "lexer/raw_offsets.h"

namespace zemuc {

std::vector<std::size_t> squeezed_to_raw(std::string_view raw) {
  // The squeeze rule: every space goes, except the one that ends "else ",
  // which is kept with its four letters. A match is tried at every byte that
  // is kept, as squeezing does.
  std::vector<std::size_t> offsets;
  offsets.reserve(raw.size());
  std::size_t r = 0;
  while (r < raw.size()) {
    if (raw[r] == ' ') {
      ++r;
    } else if (raw.substr(r, 5) == "else ") {
      for (std::size_t i = 0; i < 5; ++i) offsets.push_back(r++);
    } else {
      offsets.push_back(r++);
    }
  }
  return offsets;
}

}  // namespace zemuc
