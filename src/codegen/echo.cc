#include "codegen/echo.h"

namespace zemuc {

void write_leading_echo(const TokenLine& line, std::size_t k, Output& out) {
  out << line.before(k);
}

}  // namespace zemuc
