#include "symbols/tables.h"

#include "symbols/declare.h"

namespace zemuc {

Output& operator<<(Output& out, const CName& name) {
  if (!name.prefix.empty()) {
    out << name.prefix;
    out.number(name.number);
  }
  return out;
}

std::size_t VariableTable::find(std::string_view name) const {
  return index_.find(name, [this](std::size_t i) { return entries_[i].name; });
}

std::size_t VariableTable::add(std::string_view name, char prop) {
  entries_.push_back({texts_.keep(name), prop});
  const std::size_t i = count();
  index_.add(entries_[i].name, i,
             [this](std::size_t j) { return entries_[j].name; });
  return i;
}

std::size_t FileTable::find(std::string_view name) const {
  return index_.find(name, [this](std::size_t i) { return entries_[i].name; });
}

std::size_t FileTable::add(std::string_view name, std::string_view fname,
                           char prop) {
  entries_.push_back({texts_.keep(name), texts_.keep(fname), prop});
  const std::size_t i = count();
  index_.add(entries_[i].name, i,
             [this](std::size_t j) { return entries_[j].name; });
  return i;
}

std::size_t find_variable(const SymbolTables& tables, std::string_view name) {
  // Only names that begin with the numeric or the string mark are ever
  // declared, so every other token is answered without hashing it.
  if (!is_variable_name(name)) return 0;
  return tables.variables.find(name);
}

std::size_t find_file(const SymbolTables& tables, std::string_view name) {
  return tables.files.find(name);
}

}  // namespace zemuc
