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

// MurmurHash64A (Austin Appleby's 64-bit MurmurHash2): every input bit
// reaches every output bit through the final multiply and shifts, so names
// that differ in a few digits, or only at their end, spread over the whole
// table. The same function stands behind the standard library's string hash
// here (seed 0xc70f6907); this one is written out so that it inlines.
// Always inline: it stands in every lookup, and a call would cost a third of
// one.
[[gnu::always_inline]] inline std::uint64_t murmur64a(std::string_view key,
                                                      std::uint64_t seed) {
  constexpr std::uint64_t m = 0xC6A4A7935BD1E995u;
  constexpr int r = 47;
  const char* p = key.data();
  const std::size_t n = key.size();
  std::uint64_t h = seed ^ (n * m);
  const auto block = [&h](std::uint64_t k) {
    k *= m;
    k ^= k >> r;
    k *= m;
    h ^= k;
    h *= m;
  };
  // The last 1..7 bytes go in as one little-endian number.
  const auto tail = [&h](std::uint64_t t) {
    h ^= t;
    h *= m;
  };
  const auto load8 = [](const char* q) {
    std::uint64_t x;
    std::memcpy(&x, q, 8);
    return x;
  };
  // Names are short: up to 16 bytes take no loop, and every load stays
  // inside the key (the tail of 9..15 bytes is read as the key's last eight,
  // shifted down).
  if (n > 16) {
    const char* const end = p + (n & ~std::size_t{7});
    for (; p != end; p += 8) block(load8(p));
    const std::size_t left = n & 7;
    if (left > 0) tail(load8(p + left - 8) >> (8 * (8 - left)));
  } else if (n >= 8) {
    block(load8(p));
    if (n == 16) {
      block(load8(p + 8));
    } else if (n > 8) {
      tail(load8(p + n - 8) >> (8 * (16 - n)));
    }
  } else if (n >= 4) {
    std::uint32_t low, high;
    std::memcpy(&low, p, 4);
    std::memcpy(&high, p + n - 4, 4);
    tail(low | std::uint64_t{high} << (8 * (n - 4)));
  } else if (n > 0) {
    const auto byte = [p](std::size_t i) {
      return std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    };
    tail(byte(0) | byte(n / 2) | byte(n - 1));
  }
  h ^= h >> r;
  h *= m;
  h ^= h >> r;
  return h;
}

// Holds positions only (8 bytes a slot); the names stay in the table and are
// reached through `name_at`, so an entry costs a few slots and no text. A
// slot keeps the top bits of its name's hash beside the position, so a probe
// compares names only when those bits agree.
class NameIndex {
 public:
  static constexpr std::uint64_t kSeed = 0xC70F6907u;

  // The position of `name`, or 0.
  template <class NameAt>
  std::size_t find(std::string_view name, NameAt name_at) const {
    return position(slots_[locate(name, name_at).slot]);
  }

  // The number of slots that find() looks at for `name`, found or not: a
  // measure of how well the hash spreads the names.
  template <class NameAt>
  std::size_t probes(std::string_view name, NameAt name_at) const {
    return locate(name, name_at).probes;
  }

  // Records `index` (at least 1) for `name` unless the name is there
  // already: the first entry of a name wins.
  template <class NameAt>
  void add(std::string_view name, std::size_t index, NameAt name_at) {
    if ((used_ + 1) * 2 > slots_.size()) grow(name_at);
    const Place place = locate(name, name_at);
    if (slots_[place.slot] != 0) return;
    slots_[place.slot] = slot_of(place.hash, index);
    ++used_;
  }

 private:
  // A slot: the top 24 bits of the hash over a 40-bit position, 0 when free.
  // No table comes near 2^40 entries: each costs far more than a byte.
  static constexpr int kPositionBits = 40;
  static constexpr std::uint64_t kPositionMask =
      (std::uint64_t{1} << kPositionBits) - 1;
  static std::uint64_t tag_of_hash(std::uint64_t h) {
    return h >> kPositionBits;
  }
  static std::uint64_t tag_of(std::uint64_t slot) {
    return slot >> kPositionBits;
  }
  static std::size_t position(std::uint64_t slot) {
    return slot & kPositionMask;
  }
  static std::uint64_t slot_of(std::uint64_t h, std::size_t index) {
    return (tag_of_hash(h) << kPositionBits) | index;
  }

  // Where the probe sequence of a name ends: at the slot that holds it, or
  // at the free slot where it would go (the index is never full).
  struct Place {
    std::size_t slot;
    std::size_t probes;
    std::uint64_t hash;
  };
  template <class NameAt>
  Place locate(std::string_view name, NameAt name_at) const {
    const std::uint64_t h = murmur64a(name, kSeed);
    std::size_t n = 1;
    for (std::size_t s = h & mask_;; s = (s + 1) & mask_, ++n) {
      const std::uint64_t slot = slots_[s];
      if (slot == 0 || (tag_of(slot) == tag_of_hash(h) &&
                        same(name_at(position(slot)), name))) {
        return {s, n, h};
      }
    }
  }

  // Names are short: compared with at most four loads inline, where memcmp
  // would cost a call per lookup.
  static bool same(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    const char* p = a.data();
    const char* q = b.data();
    if (n >= 8) {
      if (n > 16) return std::memcmp(p, q, n) == 0;
      return load8(p) == load8(q) && load8(p + n - 8) == load8(q + n - 8);
    }
    if (n >= 4) {
      return load4(p) == load4(q) && load4(p + n - 4) == load4(q + n - 4);
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (p[i] != q[i]) return false;
    }
    return true;
  }
  static std::uint64_t load8(const char* p) {
    std::uint64_t x;
    std::memcpy(&x, p, 8);
    return x;
  }
  static std::uint32_t load4(const char* p) {
    std::uint32_t x;
    std::memcpy(&x, p, 4);
    return x;
  }

  template <class NameAt>
  void grow(NameAt name_at) {
    std::vector<std::uint64_t> old = std::move(slots_);
    slots_.assign(old.size() < 64 ? 64 : old.size() * 2, 0);
    mask_ = slots_.size() - 1;
    for (const std::uint64_t slot : old) {
      if (slot == 0) continue;
      std::size_t s = murmur64a(name_at(position(slot)), kSeed) & mask_;
      while (slots_[s] != 0) s = (s + 1) & mask_;
      slots_[s] = slot;
    }
  }

  // 0 marks a free slot. An empty index is one free slot, so that a lookup
  // needs no test for emptiness.
  std::vector<std::uint64_t> slots_ = std::vector<std::uint64_t>(1);
  std::size_t mask_ = 0;  // slots_.size() - 1, a power of two less one
  std::size_t used_ = 0;
};

}  // namespace zemuc

#endif  // ZEMUC_SYMBOLS_NAME_INDEX_H_
