// The translation itself, run in-process on a source held in memory.
#ifndef ZEMUC_ZEMUC_TRANSLATION_H_
#define ZEMUC_ZEMUC_TRANSLATION_H_

#include <optional>
#include <string>

#include "zemuc/reporter.h"

namespace zemuc {

// Translates the Shift-JIS `source` as the translator does, the console
// kept in memory and no key awaited. Returns the C text, or nothing after
// reporting the translator's own failure text with the place it names.
std::optional<std::string> translate_source(const std::string& source_name,
                                            const std::string& source,
                                            Reporter& reporter);

}  // namespace zemuc

#endif  // ZEMUC_ZEMUC_TRANSLATION_H_
