// The state of one translation, handed to every part that needs it.
#ifndef ZEMUC_CODEGEN_CONTEXT_H_
#define ZEMUC_CODEGEN_CONTEXT_H_

#include <cstddef>
#include <string_view>

#include "lexer/token_line.h"
#include "symbols/tables.h"

namespace zemuc {

// Status codes of the driver, the generators and the entry point.
inline constexpr int kStatusOk = 0;
inline constexpr int kStatusFailed = 8;

struct Context {
  // The current line exactly as read, with its line feed; the failure text
  // of a rejected line shows it. Valid until the next line is read.
  std::string_view raw;
  // Its number in the source, counted from 1.
  std::size_t line_number = 0;
  // The current line, squeezed and split.
  TokenLine line;
  // Filled by the declaration pass, read by the generation pass.
  SymbolTables tables;
};

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_CONTEXT_H_
