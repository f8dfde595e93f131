// The three symbol tables: variables, files and loop counters.
#ifndef ZEMUC_SYMBOLS_TABLES_H_
#define ZEMUC_SYMBOLS_TABLES_H_

#include <cstddef>
#include <string_view>
#include <vector>

#include "io/output.h"
#include "lexer/sjis_texts.h"
#include "symbols/name_index.h"
#include "symbols/text_store.h"

namespace zemuc {

// Kind codes of table entries.
inline constexpr char kNumeric = 'N';    // numeric variable or loop counter
inline constexpr char kString = 'C';     // string variable
inline constexpr char kReadMode = 'r';   // file opened for reading
inline constexpr char kWriteMode = 'w';  // file opened for writing

// The prefixes of the generated C names, one per kind of entry;
// symbols/c_names.h reads them back.
inline constexpr std::string_view kNumericPrefix = "nn";
inline constexpr std::string_view kStringPrefix = "cc";
inline constexpr std::string_view kFilePrefix = "fp";
inline constexpr std::string_view kCounterPrefix = "rep";

// A generated C name: a short prefix and a table position ("nn3", "fp1").
// An empty prefix is the empty name of a counter that was never declared.
struct CName {
  std::string_view prefix;
  std::size_t number = 0;
};
inline Output& operator<<(Output& out, const CName& name) {
  if (!name.prefix.empty()) {
    out << name.prefix;
    out.number(name.number);
  }
  return out;
}

struct Variable {
  std::string_view name;
  char prop;
  // The C name spelled out ("nn3"), the same as var(i) writes: kept ready
  // because the generators write it for almost every use of the variable.
  std::string_view c_name;
};

// Variables in the order of their first mention; numeric and string
// variables share one numbering.
class VariableTable {
 public:
  std::size_t count() const { return entries_.size() - 1; }
  const Variable& operator[](std::size_t i) const { return entries_[i]; }
  CName var(std::size_t i) const {
    return {entries_[i].prop == kNumeric ? kNumericPrefix : kStringPrefix, i};
  }
  std::string_view c_name(std::size_t i) const { return entries_[i].c_name; }
  std::size_t find(std::string_view name) const {
    return index_.find(name,
                       [this](std::size_t i) { return entries_[i].name; });
  }
  // Adds an entry for `name`, which is not in the table yet.
  std::size_t add(std::string_view name, char prop);

 private:
  std::vector<Variable> entries_ = std::vector<Variable>(1);  // 0 is unused
  NameIndex index_;
  TextStore texts_;
};

struct FileEntry {
  std::string_view name;
  std::string_view fname;  // the path expression handed to fopen
  char prop;
};

// One entry per file-opening statement; a name may stand in several
// entries, and lookups find the first.
class FileTable {
 public:
  std::size_t count() const { return entries_.size() - 1; }
  const FileEntry& operator[](std::size_t i) const { return entries_[i]; }
  CName var(std::size_t i) const { return {kFilePrefix, i}; }
  std::size_t find(std::string_view name) const {
    return index_.find(name,
                       [this](std::size_t i) { return entries_[i].name; });
  }
  std::size_t add(std::string_view name, std::string_view fname, char prop);

 private:
  std::vector<FileEntry> entries_ = std::vector<FileEntry>(1);
  NameIndex index_;
  TextStore texts_;
};

// Loop counters hold nothing but their number, so the table is two counts:
// entries 1..declared were filled by the declaration pass, and `count` is
// the count that the generation pass sets back and raises again. An entry
// above `declared` was never filled; its C name is empty.
struct CounterTable {
  std::size_t declared = 0;
  std::size_t count = 0;

  CName var(std::size_t i) const {
    return i >= 1 && i <= declared ? CName{kCounterPrefix, i} : CName{};
  }
};

struct SymbolTables {
  VariableTable variables;
  FileTable files;
  CounterTable counters;
};

// True for a name that begins with the numeric mark or the string mark.
inline bool is_variable_name(std::string_view token) {
  return token.starts_with(sjis::kNumericMark) ||
         token.starts_with(sjis::kStringMark);
}

// The position of the variable or the first file named `name`, or 0. Both
// are inline: the generators call them for almost every token.
inline std::size_t find_variable(const SymbolTables& tables,
                                 std::string_view name) {
  // Only names that begin with the numeric or the string mark are ever
  // declared, so every other token is answered without hashing it.
  if (!is_variable_name(name)) return 0;
  return tables.variables.find(name);
}
inline std::size_t find_file(const SymbolTables& tables,
                             std::string_view name) {
  return tables.files.find(name);
}

}  // namespace zemuc

#endif  // ZEMUC_SYMBOLS_TABLES_H_
