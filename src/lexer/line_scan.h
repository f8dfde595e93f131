// The in-place scan of a line that needs no squeezing: it finds the tokens
// that tokenize_line would make, without moving a byte, and hands each to a
// sink. Shared by the tokenizer's fast path and by the declaration pass,
// which looks at the tokens without keeping them.
#ifndef ZEMUC_LEXER_LINE_SCAN_H_
#define ZEMUC_LEXER_LINE_SCAN_H_

#include <cstddef>

#include "lexer/byte_class.h"
#include "lexer/byte_masks.h"

namespace zemuc {

enum class ScanEnd {
  kDone,     // every token of the line went to the sink
  kSpace,    // a space before the end: the line must be squeezed first
  kStopped,  // the sink asked to stop
};

// Scans the line at s, which ends with a line feed and is followed by 15
// readable bytes. For each token, left to right, calls
//   sink.token(begin, size, length, delim)
// with the token's bytes, its length value (its bytes less the closing
// quote of each quoted section in it) and the delimiter that ended it; the
// last token is the one that ';' or the line feed ends. A sink that returns
// false stops the scan. The tokens handed over before a kSpace end are
// those of the squeezed line too: nothing before the first space moves.
template <class Bytes, class Sink>
inline ScanEnd scan_line(const char* s, Sink& sink) {
  std::size_t start = 0;   // where the current token begins
  std::size_t closed = 0;  // closing quotes in it
  for (std::size_t pos = 0;;) {
    std::size_t next = pos + 16;
    for (unsigned m = Bytes::token_ends(s + pos); m != 0; m &= m - 1) {
      const std::size_t at = pos + __builtin_ctz(m);
      const char c = s[at];
      // The token-end marks never take in the letter e, whose class only
      // matters where there are spaces.
      const ByteClass kind = class_of(c);
      if (kind == ByteClass::kOrdinary) continue;
      if (kind == ByteClass::kSplit || kind == ByteClass::kEnd) {
        if (!sink.token(s + start, at - start, at - start - closed, c)) {
          return ScanEnd::kStopped;
        }
        if (kind == ByteClass::kEnd) return ScanEnd::kDone;
        start = at + 1;
        closed = 0;
        continue;
      }
      if (kind == ByteClass::kSpace) return ScanEnd::kSpace;
      // A quoted section runs to the closing quote, which is kept but not
      // counted, or up to the line feed, which then ends the line.
      std::size_t q = at + 1;
      unsigned mq;
      while ((mq = Bytes::quote_stop(s + q)) == 0) q += 16;
      q += __builtin_ctz(mq);
      if (s[q] == ' ') return ScanEnd::kSpace;
      if (s[q] == '"') {
        ++closed;
        ++q;
      }
      next = q;
      break;
    }
    pos = next;
  }
}

}  // namespace zemuc

#endif  // ZEMUC_LEXER_LINE_SCAN_H_
