// Code page 932 as glibc's iconv converts it, made into tables when zemuc
// is built (cmake/cp932_table.sh), for a C library that has no such
// converter: wasi-libc, in the browser's playground.
#ifndef ZEMUC_TEXT_CP932_TABLE_H_
#define ZEMUC_TEXT_CP932_TABLE_H_

#include <cstddef>
#include <cstdint>

namespace zemuc::cp932 {

// A code without a character.
inline constexpr char16_t kNone = 0xFFFF;

// The character of each single byte.
extern const char16_t kSingles[256];

// The lead bytes 0x81 to 0x9F and 0xE0 to 0xFC, in that order, and the
// bytes that may follow one, 0x40 to 0xFC.
inline constexpr std::size_t kLeads = 60;
inline constexpr std::size_t kTrails = 0xFC - 0x40 + 1;
extern const char16_t kDoubles[kLeads][kTrails];

// A character beyond ASCII and the code it is written as: a single byte,
// or lead * 256 + trail. Rising by character.
struct Written {
  char16_t character;
  std::uint16_t code;
};
extern const Written kWritten[];
extern const std::size_t kWrittenCount;

}  // namespace zemuc::cp932

#endif  // ZEMUC_TEXT_CP932_TABLE_H_
