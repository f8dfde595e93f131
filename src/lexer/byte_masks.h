// Finding the bytes of a line that the tokenizer must look at, 16 at a time.
// Each function returns a mask with bit i set for byte p[i]; all 16 bytes
// at p must be readable. The SSE2 and the portable forms give the same
// masks.
#ifndef ZEMUC_LEXER_BYTE_MASKS_H_
#define ZEMUC_LEXER_BYTE_MASKS_H_

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zemuc {

// A byte that may end a token or change how the line is read: every byte up
// to 0x3E except the digits, and the braces. That takes in every delimiter,
// the quote, ';', the line feed and the space in three tests, and lets
// through a few ordinary bytes (control bytes, ! # $ % & ' .) that the
// caller then passes over. Names and Shift-JIS text are made of bytes above
// 0x3E, digits and lead bytes, so they run on unmarked.
constexpr bool may_end_token(unsigned char c) {
  return (c <= 0x3E && !(c >= '0' && c <= '9')) || c == '{' || c == '}';
}

// A byte that stops the scan of a quoted section: the closing quote, the
// line feed, and a space, which squeezing would remove.
constexpr bool stops_quote(unsigned char c) {
  return c == '"' || c == '\n' || c == ' ';
}

struct PortableBytes {
  static unsigned token_ends(const char* p) { return mask(p, may_end_token); }
  static unsigned quote_stop(const char* p) { return mask(p, stops_quote); }

 private:
  static unsigned mask(const char* p, bool (*test)(unsigned char)) {
    unsigned m = 0;
    for (int i = 0; i < 16; ++i) {
      if (test(static_cast<unsigned char>(p[i]))) m |= 1u << i;
    }
    return m;
  }
};

#if defined(__SSE2__)
struct Sse2Bytes {
  static unsigned token_ends(const char* p) {
    const __m128i x = load(p);
    // x <= 0x3E, unsigned: nothing is left when 0x3E is taken away.
    const __m128i low = _mm_cmpeq_epi8(_mm_subs_epu8(x, _mm_set1_epi8(0x3E)),
                                       _mm_setzero_si128());
    // A digit: x - '0' <= 9, unsigned.
    const __m128i digit = _mm_cmpeq_epi8(
        _mm_subs_epu8(_mm_sub_epi8(x, _mm_set1_epi8('0')), _mm_set1_epi8(9)),
        _mm_setzero_si128());
    const __m128i brace = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('{')),
                                       _mm_cmpeq_epi8(x, _mm_set1_epi8('}')));
    return _mm_movemask_epi8(_mm_or_si128(_mm_andnot_si128(digit, low), brace));
  }
  static unsigned quote_stop(const char* p) {
    const __m128i x = load(p);
    const __m128i m =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('"')),
                                  _mm_cmpeq_epi8(x, _mm_set1_epi8('\n'))),
                     _mm_cmpeq_epi8(x, _mm_set1_epi8(' ')));
    return _mm_movemask_epi8(m);
  }

 private:
  static __m128i load(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  }
};
using FastBytes = Sse2Bytes;
#else
using FastBytes = PortableBytes;
#endif

}  // namespace zemuc

#endif  // ZEMUC_LEXER_BYTE_MASKS_H_
