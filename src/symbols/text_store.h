// Stable storage for the texts of table entries.
#ifndef ZEMUC_SYMBOLS_TEXT_STORE_H_
#define ZEMUC_SYMBOLS_TEXT_STORE_H_

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace zemuc {

// Copies texts into large blocks that never move, so that views of them stay
// valid while the tables grow, and a short name costs its bytes and no more.
class TextStore {
 public:
  std::string_view keep(std::string_view text);

 private:
  static constexpr std::size_t kBlockSize = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t free_ = 0;  // bytes left in the newest ordinary block
  char* next_ = nullptr;  // where the next text goes in that block
};

}  // namespace zemuc

#endif  // ZEMUC_SYMBOLS_TEXT_STORE_H_
