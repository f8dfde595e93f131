#include "symbols/tables.h"

#include <charconv>

namespace zemuc {

std::size_t VariableTable::add(std::string_view name, char prop) {
  entries_.push_back({texts_.keep(name), prop, {}});
  const std::size_t i = count();
  const CName c = var(i);
  char text[32];
  c.prefix.copy(text, c.prefix.size());
  const char* const end =
      std::to_chars(text + c.prefix.size(), text + sizeof text, c.number).ptr;
  entries_[i].c_name = texts_.keep(std::string_view(text, end - text));
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
