// What each byte is to the tokenizer.
#ifndef ZEMUC_LEXER_BYTE_CLASS_H_
#define ZEMUC_LEXER_BYTE_CLASS_H_

#include <array>
#include <string_view>

namespace zemuc {

enum class ByteClass : unsigned char {
  kOrdinary,
  kSpace,    // removed, unless it follows "else"
  kLetterE,  // may start "else "
  kSplit,
  kQuote,
  kEnd,
};

namespace byte_class_detail {

// The scan is byte-wise: the lead and trail bytes of double-byte characters
// are classified like any other byte, so a trail byte of 0x7B or 0x7D splits
// a name as '{' or '}' would.
constexpr std::array<ByteClass, 256> make_byte_classes() {
  std::array<ByteClass, 256> classes{};
  for (unsigned char c : std::string_view(",\x0C:\t=)(+-/*<>{}")) {
    classes[c] = ByteClass::kSplit;
  }
  classes[' '] = ByteClass::kSpace;
  classes['e'] = ByteClass::kLetterE;
  classes['"'] = ByteClass::kQuote;
  classes[';'] = ByteClass::kEnd;
  classes['\n'] = ByteClass::kEnd;
  return classes;
}

inline constexpr std::array<ByteClass, 256> kByteClass = make_byte_classes();

}  // namespace byte_class_detail

inline ByteClass class_of(char c) {
  return byte_class_detail::kByteClass[static_cast<unsigned char>(c)];
}

}  // namespace zemuc

#endif  // ZEMUC_LEXER_BYTE_CLASS_H_
