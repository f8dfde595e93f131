// The pieces that tell a run-time fault (fault.h): where in the source it
// is, and the words for each kind of report, a row each in the table of
// fault_kinds.cc, with the kinds that need more than a fixed text worded
// in fault_numbers.cc, fault_memory.cc and fault_files.cc.
#ifndef ZEMUC_EXPLAIN_FAULT_PARTS_H_
#define ZEMUC_EXPLAIN_FAULT_PARTS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "explain/names.h"
#include "explain/place.h"
#include "explain/report.h"
#include "program/copy.h"
#include "program/program.h"
#include "text/language.h"

namespace zemuc::explain {

// Where a fault is: its place in the source, and the C text's offset there.
struct Where {
  SourcePlace place;  // line 0 when there is none
  std::size_t c_offset = 0;
  bool frame = false;
};

// The place the report names in the source: where a runtime error says it
// stands, else the innermost frame in the source, else in the frame.
Where where_of(const Program& program, const CopyMap& map,
               const SanitizerReport& report);

// The first C word at or after `offset` in the line's C text that names
// one of the learner's names, of the kind wanted.
std::optional<LearnerName> name_after(const Program& program, std::size_t line,
                                      std::size_t offset,
                                      LearnerName::Kind kind);

// A fault as the words for it see it.
struct Fault {
  const Program& program;
  const SanitizerReport& report;
  const Where& where;
  Language language;
};

// The file the fault's line works on, when its C text names one.
std::optional<LearnerName> file_of_line(const Fault& fault);

// What the report says, in the learner's terms.
std::string tell_fault(const Fault& fault);

// The divisor of a division by zero as said, when it is a name of the
// learner's; empty otherwise.
std::string divisor_of(const Fault& fault);

// The kinds that need more than a fixed text.
std::string tell_division_by_zero(const Fault& fault);
std::string tell_overflow(const Fault& fault);
std::string tell_number_too_large(const Fault& fault);
std::string tell_outside_range(const Fault& fault);
std::string tell_shift(const Fault& fault);
std::string tell_stack_overflow(const Fault& fault);
std::string tell_global_overflow(const Fault& fault);
std::string tell_index_outside(const Fault& fault);
std::string tell_overlap(const Fault& fault);
std::string tell_file_failed(const Fault& fault);
std::string tell_file_closed(const Fault& fault);
std::string tell_bad_address(const Fault& fault);

// The words of `text` between the first `from` and the `to` after it;
// empty when either is missing.
inline std::string between(std::string_view text, std::string_view from,
                           std::string_view to) {
  const std::size_t a = text.find(from);
  if (a == std::string_view::npos) return {};
  const std::size_t b = text.find(to, a + from.size());
  if (b == std::string_view::npos) return {};
  return std::string(text.substr(a + from.size(), b - a - from.size()));
}

// Texts more than one kind's words fall back on.
inline constexpr Text kOtherCheck = {
    "実行時の検査が、C で決まっていない動きを見つけてプログラムを止めました",
    "a run-time check stopped the program at something C leaves undefined"};
inline constexpr Text kBadMemory = {
    "プログラムが自分のものでないメモリーに触れました",
    "the program touched memory that is not its own"};

}  // namespace zemuc::explain

#endif  // ZEMUC_EXPLAIN_FAULT_PARTS_H_
