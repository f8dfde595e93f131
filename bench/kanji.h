// Double-byte characters for the benchmark's generated sources.
#ifndef ZEMUC_BENCH_KANJI_H_
#define ZEMUC_BENCH_KANJI_H_

#include <string>

namespace bench {

// A double-byte character from the kanji rows, numbered 0..kKanji-1. Trail
// bytes 0x7B and 0x7D are left out: they would split a name as braces do.
constexpr int kTrails = 0xFC - 0x40 + 1 - 3;  // less 0x7F, 0x7B, 0x7D
constexpr int kKanji = 23 * kTrails;

inline std::string kanji(int n) {
  int trail = 0x40;
  for (int left = n % kTrails;; ++trail) {
    if (trail == 0x7B || trail == 0x7D || trail == 0x7F) continue;
    if (left-- == 0) break;
  }
  return {static_cast<char>(0x89 + n / kTrails), static_cast<char>(trail)};
}

}  // namespace bench

#endif  // ZEMUC_BENCH_KANJI_H_
