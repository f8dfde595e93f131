// A whole translation in memory, for callers in the same process: the
// source given as bytes, and the C text, the console text, the tables, the
// rejected line and where each line's C text begins handed back as data.
#ifndef ZEMUC_DRIVER_MEMORY_TRANSLATION_H_
#define ZEMUC_DRIVER_MEMORY_TRANSLATION_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/context.h"

namespace zemuc {

struct Translation {
  int status = kStatusFailed;
  // What the output file holds: the whole C program, or what was written
  // before the rejected line.
  std::string c_text;
  // The translator's console text, Shift-JIS, as zemucfilter prints it
  // (without its closing text and key wait).
  std::string console;
  SymbolTables tables;
  RejectedLine rejected;
  // line_starts[n] is where the C text of source line n begins in c_text,
  // for n = 1 up to the last line generated; one entry more holds the end
  // of c_text. Entry 0 is unused. A line's text may lack its line end (a
  // Leading echo without its statement): the next line's text follows it.
  std::vector<std::size_t> line_starts;

  // The C text of line n, or nothing for a line not generated.
  std::string_view c_text_of(std::size_t n) const;
};

// Translates `sjis_source` as zemucfilter translates a file of that name.
Translation translate_in_memory(std::string_view source_name,
                                std::string sjis_source);

}  // namespace zemuc

#endif  // ZEMUC_DRIVER_MEMORY_TRANSLATION_H_
