#include "exercise/settings.h"

#include <utility>

namespace zemuc::exercise {
namespace {

constexpr std::pair<Compare, std::string_view> kCompareNames[] = {
    {Compare::kExact, "exact"},
    {Compare::kLines, "lines"},
    {Compare::kTokens, "tokens"},
};

}  // namespace

const CaseSettings& Settings::for_case(std::string_view name) const {
  const auto found = cases.find(name);
  return found == cases.end() ? defaults : found->second;
}

std::string_view compare_name(Compare compare) {
  for (const auto& [which, word] : kCompareNames) {
    if (which == compare) return word;
  }
  return "";
}

std::optional<Compare> compare_named(std::string_view name) {
  for (const auto& [compare, word] : kCompareNames) {
    if (word == name) return compare;
  }
  return std::nullopt;
}

}  // namespace zemuc::exercise
