// The name of the C file a translation writes, derived from the source's.
#ifndef ZEMUC_DRIVER_OUTPUT_NAME_H_
#define ZEMUC_DRIVER_OUTPUT_NAME_H_

#include <optional>
#include <string>
#include <string_view>

namespace zemuc {

// The source name without its last four bytes, whatever they are, plus
// ".c"; nothing for a name shorter than four bytes.
std::optional<std::string> output_name_for(std::string_view source_name);

}  // namespace zemuc

#endif  // ZEMUC_DRIVER_OUTPUT_NAME_H_
