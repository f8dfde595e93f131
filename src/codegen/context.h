// The state of one translation, handed to every part that needs it.
#ifndef ZEMUC_CODEGEN_CONTEXT_H_
#define ZEMUC_CODEGEN_CONTEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "lexer/token_line.h"
#include "symbols/tables.h"

namespace zemuc {

// Status codes of the driver, the generators and the entry point; zemuc
// ends with kStatusFailed too when a source does not translate.
inline constexpr int kStatusOk = 0;
inline constexpr int kStatusFailed = 8;

struct Context;

// Told, line by line, where the generation pass puts each line's C text:
// callers in the same process map what a C compiler says back to the
// source. The translator itself sets none, and then pays one test a line.
class LineObserver {
 public:
  virtual ~LineObserver() = default;
  // Called before the C text of the line in `ctx` is written; `offset` is
  // the number of C bytes written before it.
  virtual void line_begins(const Context& ctx, std::size_t offset) = 0;
};

// The line that stopped the generation pass.
struct RejectedLine {
  std::size_t number = 0;  // counted from 1; 0 while no line is rejected
  std::string text;        // as read, with its line feed
};

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
  // Set when a generator rejects a line, beside the console text that
  // tells the user.
  RejectedLine rejected;
  // Null unless a caller wants to follow the generation pass.
  LineObserver* observer = nullptr;
};

}  // namespace zemuc

#endif  // ZEMUC_CODEGEN_CONTEXT_H_
