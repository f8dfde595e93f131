// The declaration scan: what each line of the first pass declares.
#ifndef ZEMUC_SYMBOLS_DECLARE_H_
#define ZEMUC_SYMBOLS_DECLARE_H_

#include <cstddef>
#include <string_view>

#include "lexer/sjis_texts.h"
#include "lexer/token_line.h"
#include "symbols/tables.h"

namespace zemuc {

// Looks at every token of the line, left to right: a repeat keyword declares
// a loop counter, a file-opening keyword a file, a name a variable.
void declare_line(SymbolTables& tables, const TokenLine& line);
// The same from token `first` on.
void declare_tokens(SymbolTables& tables, const TokenLine& line,
                    std::size_t first);

// `name` as a variable, unless it is declared already; its kind comes from
// its mark.
inline void declare_name(SymbolTables& tables, std::string_view name) {
  if (tables.variables.find(name) != 0) return;
  tables.variables.add(
      name, name.starts_with(sjis::kNumericMark) ? kNumeric : kString);
}

// Token k as a variable, unless it is declared already.
void declare_variable(SymbolTables& tables, const TokenLine& line,
                      std::size_t k);
void declare_counter(SymbolTables& tables);
// A file from the three tokens after position k: name, path and mode.
void declare_file(SymbolTables& tables, const TokenLine& line, std::size_t k);

}  // namespace zemuc

#endif  // ZEMUC_SYMBOLS_DECLARE_H_
