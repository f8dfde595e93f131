// The translation itself, run in-process on a source held in memory.
#ifndef ZEMUC_FRONT_TRANSLATION_H_
#define ZEMUC_FRONT_TRANSLATION_H_

#include <optional>
#include <string>

#include "driver/memory_translation.h"
#include "front/reporter.h"

namespace zemuc {

// Translates the Shift-JIS `source` as the translator does, the console
// kept in memory and no key awaited. Returns the translation (the C text,
// the tables and where each line's C text begins), or nothing after
// reporting the translator's own failure text with the place it names.
std::optional<Translation> translate_source(const std::string& source_name,
                                            const std::string& source,
                                            Reporter& reporter);

// Whether `translation` succeeded; when not, reports the translator's own
// failure text as translate_source does.
bool report_translation(const std::string& source_name,
                        const Translation& translation, Reporter& reporter);

}  // namespace zemuc

#endif  // ZEMUC_FRONT_TRANSLATION_H_
