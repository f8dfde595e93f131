// Where in the source a run-time fault is, and the names near it.
#include <optional>

#include "explain/fault_parts.h"

namespace zemuc::explain {

Where where_of(const Program& program, const CopyMap& map,
               const SanitizerReport& report) {
  Where where;
  const auto in_source = [&](const StackFrame& f) -> std::optional<Where> {
    if (f.file.empty() || f.line == 0) return std::nullopt;
    if (names_file(f.file, kFrameName)) {
      Where w;
      w.frame = true;
      return w;
    }
    if (!names_file(f.file, program.source_name())) return std::nullopt;
    const std::optional<std::size_t> offset =
        map.find(CopyMap::File::kSource, f.line, f.column);
    if (!offset) return std::nullopt;
    Where w;
    w.c_offset = *offset;
    w.place = place_of(program, *offset);
    w.frame = w.place.frame;
    if (f.column == 0 && w.place.line != 0) {
      w.place.column = statement_column(program, w.place.line);
    }
    return w;
  };
  if (auto w = in_source(report.place); w && !w->frame) return *w;
  std::optional<Where> frame;
  for (const StackFrame& f : report.stack) {
    if (auto w = in_source(f)) {
      if (!w->frame) return *w;
      if (!frame) frame = w;
    }
  }
  if (auto w = in_source(report.place)) return *w;
  return frame.value_or(where);
}

std::optional<LearnerName> name_after(const Program& program, std::size_t line,
                                      std::size_t offset,
                                      LearnerName::Kind kind) {
  const std::string_view text = program.translation().c_text_of(line);
  std::size_t i =
      offset > program.c_begin(line) ? offset - program.c_begin(line) : 0;
  while (i < text.size()) {
    if (!is_word_byte(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && is_word_byte(text[end])) ++end;
    if (auto name = learner_name(program, text.substr(i, end - i));
        name && name->kind == kind) {
      return name;
    }
    i = end;
  }
  return std::nullopt;
}

std::optional<LearnerName> file_of_line(const Fault& fault) {
  const std::size_t line = fault.where.place.line;
  if (line == 0) return std::nullopt;
  return name_after(fault.program, line, fault.program.c_begin(line),
                    LearnerName::Kind::kFile);
}

}  // namespace zemuc::explain
