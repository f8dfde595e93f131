// An open-addressing index from names to table positions, kept beside a
// table so that lookups do not slow down as the table grows.
#ifndef ZEMUC_SYMBOLS_NAME_INDEX_H_
#define ZEMUC_SYMBOLS_NAME_INDEX_H_

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace zemuc {

// Holds positions only (8 bytes a slot); the names stay in the table and are
// reached through `name_at`, so an entry costs a few slots and no text.
class NameIndex {
 public:
  // The position of `name`, or 0.
  template <class NameAt>
  std::size_t find(std::string_view name, NameAt name_at) const {
    if (slots_.empty()) return 0;
    for (std::size_t s = hash(name) & mask();; s = (s + 1) & mask()) {
      const std::size_t index = slots_[s];
      if (index == 0 || name_at(index) == name) return index;
    }
  }

  // Records `index` for `name` unless the name is there already: the first
  // entry of a name wins.
  template <class NameAt>
  void add(std::string_view name, std::size_t index, NameAt name_at) {
    if ((used_ + 1) * 2 > slots_.size()) grow(name_at);
    std::size_t s = hash(name) & mask();
    for (; slots_[s] != 0; s = (s + 1) & mask()) {
      if (name_at(slots_[s]) == name) return;
    }
    slots_[s] = index;
    ++used_;
  }

 private:
  static std::size_t hash(std::string_view name) {
    return std::hash<std::string_view>{}(name);
  }
  std::size_t mask() const { return slots_.size() - 1; }

  template <class NameAt>
  void grow(NameAt name_at) {
    std::vector<std::size_t> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, 0);
    for (std::size_t index : old) {
      if (index == 0) continue;
      std::size_t s = hash(name_at(index)) & mask();
      while (slots_[s] != 0) s = (s + 1) & mask();
      slots_[s] = index;
    }
  }

  std::vector<std::size_t> slots_;  // 0 marks a free slot
  std::size_t used_ = 0;
};

}  // namespace zemuc

#endif  // ZEMUC_SYMBOLS_NAME_INDEX_H_
