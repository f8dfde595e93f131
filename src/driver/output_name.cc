#include "driver/output_name.h"

namespace zemuc {

std::optional<std::string> output_name_for(std::string_view source_name) {
  if (source_name.size() < 4) return std::nullopt;
  std::string output(source_name.substr(0, source_name.size() - 4));
  output += ".c";
  return output;
}

}  // namespace zemuc
