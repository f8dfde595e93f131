#include "codegen/echo.h"

namespace zemuc {

void write_leading_echo(const TokenLine& line, std::size_t k, Output& out) {
  for (std::size_t i = 1; i < k && i <= line.count; ++i) {
    out << line.tokens[i] << line.delims[i];
  }
}

}  // namespace zemuc
