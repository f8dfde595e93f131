// Feeds one source through the compile step's text work: the compiler's
// copy of its C text with and without checks, the map back from every
// place of the copy, and the input read as a compiler's output and as a
// sanitizer's report about that program.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "explain/explain.h"
#include "explain/fault.h"
#include "explain/report.h"
#include "program/copy.h"
#include "text/encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string source(reinterpret_cast<const char*>(data), size);
  const zemuc::Program program("in.zem", source,
                               zemuc::translate_in_memory("in.zem", source));
  for (const bool checked : {false, true}) {
    const zemuc::CompilerCopy copy =
        zemuc::make_compiler_copy(program, checked);
    // Nothing a compiler could read another way.
    if (!zemuc::is_valid_utf8(copy.text)) abort();
    // Every place of every named line maps into the C text.
    for (std::size_t line = 1; line <= program.line_count() + 1; ++line) {
      for (std::size_t column = 0; column < 64; column += 7) {
        const auto offset =
            copy.map.find(zemuc::CopyMap::File::kSource, line, column);
        if (offset && *offset > program.c_text().size() + column) abort();
      }
    }
    (void)zemuc::explain::explain_build(program, copy.map, source, true,
                                        zemuc::Language::kJapanese,
                                        zemuc::Encoding::kShiftJis);
    (void)zemuc::explain::explain_fault(
        program, copy.map, zemuc::explain::read_sanitizer_report(source), "",
        zemuc::Language::kEnglish, zemuc::Encoding::kUtf8);
  }
  return 0;
}
