// An open-addressing index from names to table positions, kept beside a
// table so that lookups do not slow down as the table grows.
#ifndef ZEMUC_SYMBOLS_NAME_INDEX_H_
#define ZEMUC_SYMBOLS_NAME_INDEX_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
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
      if (index == 0 || same(name_at(index), name)) return index;
    }
  }

  // Records `index` for `name` unless the name is there already: the first
  // entry of a name wins.
  template <class NameAt>
  void add(std::string_view name, std::size_t index, NameAt name_at) {
    if ((used_ + 1) * 2 > slots_.size()) grow(name_at);
    std::size_t s = hash(name) & mask();
    for (; slots_[s] != 0; s = (s + 1) & mask()) {
      if (same(name_at(slots_[s]), name)) return;
    }
    slots_[s] = index;
    ++used_;
  }

 private:
  // Names are short; both work on eight bytes at a time, inline, where the
  // library's hash and memcmp would each cost a call per lookup.
  static std::size_t hash(std::string_view name) {
    std::uint64_t h = name.size() * 0x9E3779B97F4A7C15u;
    const char* p = name.data();
    std::size_t left = name.size();
    for (; left >= 8; p += 8, left -= 8) h = mix(h ^ load(p, 8));
    if (left > 0) h = mix(h ^ load(p, left));
    return static_cast<std::size_t>(h ^ (h >> 32));
  }
  static bool same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const char* p = a.data();
    const char* q = b.data();
    std::size_t left = a.size();
    for (; left >= 8; p += 8, q += 8, left -= 8) {
      if (load(p, 8) != load(q, 8)) return false;
    }
    return left == 0 || load(p, left) == load(q, left);
  }
  // The n bytes at p (n at most 8) as one number.
  static std::uint64_t load(const char* p, std::size_t n) {
    std::uint64_t x = 0;
    if (n == 8) {
      std::memcpy(&x, p, 8);
    } else {
      for (std::size_t i = 0; i < n; ++i) {
        x |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
      }
    }
    return x;
  }
  static std::uint64_t mix(std::uint64_t x) {
    x *= 0xBF58476D1CE4E5B9u;
    return x ^ (x >> 31);
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
