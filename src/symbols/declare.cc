#include "symbols/declare.h"

#include <string>

#include "lexer/sjis_texts.h"

namespace zemuc {

void declare_line(SymbolTables& tables, const TokenLine& line) {
  declare_tokens(tables, line, 1);
}

void declare_tokens(SymbolTables& tables, const TokenLine& line,
                    std::size_t first) {
  for (std::size_t k = first; k <= line.count; ++k) {
    const std::string_view token = line.tokens[k];
    if (token == sjis::kRepeat) {
      declare_counter(tables);
    } else if (token == sjis::kOpen) {
      declare_file(tables, line, k);
    } else if (is_variable_name(token)) {
      declare_variable(tables, line, k);
    }
  }
}

void declare_variable(SymbolTables& tables, const TokenLine& line,
                      std::size_t k) {
  declare_name(tables, line.token(k));
}

void declare_counter(SymbolTables& tables) {
  tables.counters.declared = ++tables.counters.count;
}

void declare_file(SymbolTables& tables, const TokenLine& line, std::size_t k) {
  // A path that names a variable declared so far becomes that variable's C
  // name; a variable first mentioned here is declared only after this file.
  std::string_view fname = line.token(k + 2);
  std::string c_name;
  if (const std::size_t j = find_variable(tables, fname); j != 0) {
    const CName var = tables.variables.var(j);
    c_name = std::string(var.prefix) + std::to_string(var.number);
    fname = c_name;
  }
  const char prop = line.token(k + 3) == "r" ? kReadMode : kWriteMode;
  tables.files.add(line.token(k + 1), fname, prop);
}

}  // namespace zemuc
