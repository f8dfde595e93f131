#include "symbols/tables.h"

namespace zemuc {

Output& operator<<(Output& out, const CName& name) {
  if (!name.prefix.empty()) {
    out << name.prefix;
    out.number(name.number);
  }
  return out;
}

std::size_t VariableTable::add(std::string_view name, char prop) {
  entries_.push_back({texts_.keep(name), prop});
  const std::size_t i = count();
  index_.add(entries_[i].name, i,
             [this](std::size_t j) { return entries_[j].name; });
  return i;
}

std::size_t FileTable::add(std::string_view name, std::string_view fname,
                           char prop) {
  entries_.push_back({texts_.keep(name), texts_.keep(fname), prop});
  const std::size_t i = count();
  index_.add(entries_[i].name, i,
             [this](std::size_t j) { return entries_[j].name; });
  return i;
}

}  // namespace zemuc
