// The tables' C names both ways: a table entry's C name spelled out, and
// the entry behind a C name of the translation (nn2 is the second
// variable, fp1 the first file, rep3 the third loop counter).
#ifndef ZEMUC_SYMBOLS_C_NAMES_H_
#define ZEMUC_SYMBOLS_C_NAMES_H_

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "symbols/tables.h"

namespace zemuc {

// The C name as the translation writes it ("fp2"); empty for the empty
// name.
inline std::string spelled(const CName& name) {
  if (name.prefix.empty()) return {};
  return std::string(name.prefix) + std::to_string(name.number);
}

// A table entry that a C name stands for.
struct TableEntry {
  enum class Table { kVariables, kFiles, kCounters };
  Table table;
  std::size_t index;      // its place in its table, from 1
  std::string_view name;  // as written, Shift-JIS; empty for a counter
  char prop;              // the entry's kind code; kNumeric for a counter
};

namespace c_name_detail {

// The number after `prefix` when the rest of `word` is digits without a
// leading zero; 0 otherwise.
inline std::size_t numbered(std::string_view word, std::string_view prefix) {
  if (!word.starts_with(prefix)) return 0;
  const std::string_view digits = word.substr(prefix.size());
  if (digits.empty() || digits.front() == '0') return 0;
  std::size_t n = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, n);
  return error == std::errc() && stop == end ? n : 0;
}

}  // namespace c_name_detail

// The entry whose C name is `c_name`, or nothing for any other word (a C
// word, a name the learner wrote in C, a number past the table).
inline std::optional<TableEntry> entry_named(const SymbolTables& tables,
                                             std::string_view c_name) {
  using c_name_detail::numbered;
  const VariableTable& variables = tables.variables;
  if (const std::size_t n = std::max(numbered(c_name, kNumericPrefix),
                                     numbered(c_name, kStringPrefix));
      n != 0 && n <= variables.count() && variables.c_name(n) == c_name) {
    return TableEntry{TableEntry::Table::kVariables, n, variables[n].name,
                      variables[n].prop};
  }
  if (const std::size_t n = numbered(c_name, kFilePrefix);
      n != 0 && n <= tables.files.count()) {
    return TableEntry{TableEntry::Table::kFiles, n, tables.files[n].name,
                      tables.files[n].prop};
  }
  if (const std::size_t n = numbered(c_name, kCounterPrefix);
      n != 0 && n <= tables.counters.declared) {
    return TableEntry{TableEntry::Table::kCounters, n, {}, kNumeric};
  }
  return std::nullopt;
}

}  // namespace zemuc

#endif  // ZEMUC_SYMBOLS_C_NAMES_H_
