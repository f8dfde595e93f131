// Where each byte of a squeezed line came from in the line as read, so that
// a place found in the tokens can be shown in the line the user wrote.
#ifndef ZEMUC_LEXER_RAW_OFFSETS_H_
#define ZEMUC_LEXER_RAW_OFFSETS_H_

#include <cstddef>
#include <string_view>
#include <vector>

namespace zemuc {

// For each byte of what squeeze_line makes of `raw`, the offset in `raw` of
// the byte it is a copy of. Squeezing only drops bytes, so the offsets rise
// strictly. The squeezed text of the tokenizer is a prefix of that text, so
// its offsets are the first ones.
std::vector<std::size_t> squeezed_to_raw(std::string_view raw);

}  // namespace zemuc

#endif  // ZEMUC_LEXER_RAW_OFFSETS_H_
