#include "explain/report.h"

#include <algorithm>
#include <optional>

#include "explain/file_place.h"
#include "text/words.h"

namespace zemuc::explain {
namespace {

using Kind = SanitizerReport::Kind;

// How a row's words recognise a kind in the sanitizer's words.
enum class Match { kIs, kStarts, kEnds, kHas };

// A kind, known by its words; with `also`, those must stand anywhere in
// the sanitizer's words too. The first row that matches gives the kind.
struct KindWords {
  Kind kind;
  Match how;
  std::string_view words;
  std::string_view also = {};
};

// UndefinedBehaviorSanitizer's words after "runtime error: ", and those of
// the copy's own checks.
constexpr KindWords kRuntimeErrors[] = {
    {Kind::kDivisionByZero, Match::kStarts, "division by zero"},
    {Kind::kOverflow, Match::kStarts, "signed integer overflow"},
    {Kind::kOverflow, Match::kStarts, "negation of"},
    {Kind::kOverflow, Match::kStarts, "division of", "cannot be represented"},
    {Kind::kOverflow, Match::kStarts, "left shift of ", " places cannot be"},
    {Kind::kNumberTooLarge, Match::kStarts, "typed number"},
    {Kind::kNumberTooLarge, Match::kStarts, "read number"},
    {Kind::kNotANumber, Match::kIs, "typed text is not a number"},
    {Kind::kFileNotOpen, Match::kIs, "file not open"},
    {Kind::kFileNotWritten, Match::kStarts, "file not written: "},
    {Kind::kFileNotRead, Match::kStarts, "file not read: "},
    {Kind::kFileClosed, Match::kStarts, "file already closed on line "},
    {Kind::kOutsideRange, Match::kHas,
     " is outside the range of representable values of type "},
    {Kind::kIndexOutOfBounds, Match::kStarts, "index ", "out of bounds"},
    {Kind::kNullPointer, Match::kHas, "null pointer"},
    {Kind::kMisaligned, Match::kHas, "misaligned address"},
    {Kind::kShift, Match::kStarts, "shift exponent"},
    {Kind::kShift, Match::kStarts, "left shift of negative"},
    {Kind::kPointerOverflow, Match::kStarts, "pointer index expression"},
    {Kind::kPointerOverflow, Match::kStarts, "addition of", "overflowed"},
    {Kind::kPointerOverflow, Match::kStarts, "subtraction of", "overflowed"},
};

// AddressSanitizer's name for its kind (see address_error_name).
constexpr KindWords kAddressErrors[] = {
    {Kind::kStackOverflow, Match::kStarts, "stack-buffer-overflow"},
    {Kind::kStackOverflow, Match::kStarts, "stack-buffer-underflow"},
    {Kind::kStackOverflow, Match::kStarts, "dynamic-stack-buffer-overflow"},
    {Kind::kGlobalOverflow, Match::kStarts, "global-buffer-overflow"},
    {Kind::kHeapOverflow, Match::kStarts, "heap-buffer-overflow"},
    {Kind::kOverlap, Match::kEnds, "-param-overlap"},
    {Kind::kUseAfterFree, Match::kIs, "heap-use-after-free"},
    {Kind::kDoubleFree, Match::kIs, "double-free"},
    {Kind::kBadFree, Match::kIs, "bad-free"},
    {Kind::kUseAfterReturn, Match::kIs, "stack-use-after-return"},
    {Kind::kUseAfterScope, Match::kIs, "stack-use-after-scope"},
    {Kind::kStackExhausted, Match::kIs, "stack-overflow"},
    {Kind::kTooMuchMemory, Match::kIs, "requested"},
    {Kind::kTooMuchMemory, Match::kIs, "allocation-size-too-big"},
    {Kind::kTooMuchMemory, Match::kIs, "out-of-memory"},
    {Kind::kTooMuchMemory, Match::kIs, "calloc-overflow"},
    {Kind::kTooMuchMemory, Match::kIs, "pvalloc-overflow"},
    {Kind::kTooMuchMemory, Match::kIs, "out"},
    {Kind::kNegativeSize, Match::kIs, "negative-size-param"},
    {Kind::kArithmetic, Match::kIs, "FPE"},
    {Kind::kBadAddress, Match::kIs, "SEGV"},
    {Kind::kBadAddress, Match::kIs, "BUS"},
};

bool matches(const KindWords& row, std::string_view said) {
  const bool words = row.how == Match::kIs       ? said == row.words
                     : row.how == Match::kStarts ? said.starts_with(row.words)
                     : row.how == Match::kEnds
                         ? said.ends_with(row.words)
                         : said.find(row.words) != std::string_view::npos;
  return words && said.find(row.also) != std::string_view::npos;
}

// The kind of the first row of `table` that `said` matches, or `other`.
template <std::size_t N>
Kind kind_of(const KindWords (&table)[N], std::string_view said, Kind other) {
  for (const KindWords& row : table) {
    if (matches(row, said)) return row.kind;
  }
  return other;
}

// "FILE:LINE:COLUMN", "FILE:LINE" or anything else (a module, an object).
StackFrame place_of(std::string_view where) {
  StackFrame frame;
  if (const std::optional<FilePlace> place = file_place(where)) {
    frame.file = place->file;
    frame.line = place->line;
    frame.column = place->column;
  }
  return frame;
}

// "#3 0x55684cdb42ea in main /tmp/x/prog.zem:6:16"
bool read_frame(std::string_view line, StackFrame& frame) {
  line = trimmed(line);
  if (line.size() < 2 || line[0] != '#' || line[1] < '0' || line[1] > '9') {
    return false;
  }
  const std::size_t in = line.find(" in ");
  if (in == std::string_view::npos) {
    frame = {};
    return true;
  }
  std::string_view rest = line.substr(in + 4);
  // A build identifier may follow the place.
  if (const std::size_t id = rest.find(" (BuildId");
      id != std::string_view::npos)
    rest = rest.substr(0, id);
  const std::size_t space = rest.rfind(' ');
  if (space == std::string_view::npos) {
    frame = {};
    frame.function = rest;
    return true;
  }
  frame = place_of(rest.substr(space + 1));
  frame.function = rest.substr(0, space);
  return true;
}

// AddressSanitizer's name for its kind from the words after
// "AddressSanitizer: ": the first of them, without a colon, and for
// "attempting double-free on ..." or "attempting free on address which
// was not malloc()-ed" the kind it sums them up as.
std::string address_error_name(std::string_view rest) {
  std::string_view word = rest.substr(0, rest.find(' '));
  if (word.ends_with(':')) word.remove_suffix(1);
  if (word == "attempting") {
    const std::string_view what = rest.substr(rest.find(' ') + 1);
    if (what.starts_with("double-free")) return "double-free";
    if (what.starts_with("free on address")) return "bad-free";
  }
  return std::string(word);
}

// A C library's error number as a report says it, kept to a size that an
// int holds.
int error_number(std::string_view digits) {
  return static_cast<int>(
      std::min<std::size_t>(leading_number<std::size_t>(digits), 100000));
}

// "FILE:LINE: note: open failed: ERRNO TEXT", which the copy's fopen
// writes for each open that failed.
bool read_failed_open(std::string_view line,
                      SanitizerReport::FailedOpen& open) {
  constexpr std::string_view kMarker = ": note: open failed: ";
  const std::size_t at = line.find(kMarker);
  if (at == std::string_view::npos) return false;
  const std::string_view rest = line.substr(at + kMarker.size());
  if (rest.empty() || rest.front() < '0' || rest.front() > '9') return false;
  open.place = place_of(line.substr(0, at));
  open.error = error_number(rest);
  return open.place.line != 0;
}

// The copy's own checks write the one line and stop; a file not written
// or read says the C library's error number ("file not written: 28 No
// space left on device"), a file closed before the line of its close.
void read_own_check(SanitizerReport& report) {
  const bool file_failed =
      report.kind == Kind::kFileNotWritten || report.kind == Kind::kFileNotRead;
  report.complete = file_failed || report.kind == Kind::kNumberTooLarge ||
                    report.kind == Kind::kNotANumber ||
                    report.kind == Kind::kFileNotOpen ||
                    report.kind == Kind::kFileClosed;
  const std::string_view detail = report.detail;
  if (file_failed) {
    report.error = error_number(detail.substr(detail.find(": ") + 2));
  }
  // "file already closed on line 4".
  if (report.kind == Kind::kFileClosed) {
    report.closed_line =
        leading_number<std::size_t>(detail.substr(detail.rfind(' ') + 1));
  }
}

// "p.zem:3:7: runtime error: DETAIL", UndefinedBehaviorSanitizer's or the
// copy's own.
bool read_runtime_error(std::string_view line, SanitizerReport& report) {
  constexpr std::string_view kMarker = ": runtime error: ";
  const std::size_t at = line.find(kMarker);
  if (at == std::string_view::npos) return false;
  report.detail = line.substr(at + kMarker.size());
  report.kind = kind_of(kRuntimeErrors, report.detail, Kind::kOther);
  report.place = place_of(line.substr(0, at));
  read_own_check(report);
  return true;
}

// "==1==ERROR: AddressSanitizer: KIND on address 0x... at pc ...".
bool read_address_error(std::string_view line, SanitizerReport& report) {
  constexpr std::string_view kMarker = "ERROR: AddressSanitizer: ";
  const std::size_t at = line.find(kMarker);
  if (at == std::string_view::npos) return false;
  const std::string_view rest = line.substr(at + kMarker.size());
  report.detail = address_error_name(rest);
  report.kind = kind_of(kAddressErrors, report.detail, Kind::kMemory);
  if (report.kind == Kind::kOverlap) {
    report.function = report.detail.substr(0, report.detail.find('-'));
  }
  constexpr std::string_view kAddress = " address ";
  if (const std::size_t a = rest.find(kAddress); a != std::string_view::npos) {
    std::string_view hex = rest.substr(a + kAddress.size());
    if (hex.starts_with("0x")) hex.remove_prefix(2);
    report.null_address = leading_number<std::size_t>(hex, 16) < 4096;
  }
  return true;
}

// "READ of size 4 at 0x... thread T0", or WRITE.
bool read_access(std::string_view line, SanitizerReport& report) {
  if (!line.starts_with("READ of size ") && !line.starts_with("WRITE of size "))
    return false;
  report.write = line.starts_with("WRITE");
  report.access_size =
      leading_number<std::size_t>(line.substr(line.find("size ") + 5));
  return true;
}

// A variable of the frame's list, "[192, 448) 'cc3' (line 8)": from its
// first byte to the byte after it.
struct StackObject {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string_view name;
};

std::optional<StackObject> stack_object(std::string_view line) {
  const std::size_t comma = line.find(',');
  const std::size_t close = line.find(')');
  const std::size_t open_quote = line.find('\'');
  const std::size_t close_quote = line.find('\'', open_quote + 1);
  if (!line.starts_with("[") || comma == std::string_view::npos ||
      close == std::string_view::npos ||
      close_quote == std::string_view::npos) {
    return std::nullopt;
  }
  const auto begin = leading_number<std::size_t>(line.substr(1, comma - 1));
  const auto end = leading_number<std::size_t>(trimmed(line.substr(comma + 1)));
  return StackObject{begin, std::max(begin, end),
                     line.substr(open_quote + 1, close_quote - open_quote - 1)};
}

// The list's variables, up to the one the access marks ("<== Memory
// access at offset 448 partially underflows this variable"). An access
// that starts on the first byte past the variable before is that one's:
// a copy run on past its target, which AddressSanitizer marks by the
// variable nearest the byte.
bool read_stack_object(std::string_view line, StackObject& before,
                       SanitizerReport& report) {
  const std::optional<StackObject> object = stack_object(line);
  if (!object) return false;
  constexpr std::string_view kMarker = "<== Memory access at offset ";
  const std::size_t marker = line.find(kMarker);
  if (marker == std::string_view::npos) {
    before = *object;
    return true;
  }
  const auto offset =
      leading_number<std::size_t>(line.substr(marker + kMarker.size()));
  const bool from_before =
      line.find("underflows", marker) != std::string_view::npos &&
      before.end > before.begin && offset == before.end;
  const StackObject& blamed = from_before ? before : *object;
  report.object_size = blamed.end - blamed.begin;
  report.object = blamed.name;
  return true;
}

// "0x55 is located 0 bytes to the right of global variable 'g' defined in
// 'p.zem:1:5' (0x55) of size 12", for the first object only.
bool read_global_object(std::string_view line, SanitizerReport& report) {
  const std::size_t global = line.find("global variable '");
  if (global == std::string_view::npos || !report.object.empty()) return false;
  const std::size_t open_quote = global + 16;
  const std::size_t close_quote = line.find('\'', open_quote + 1);
  if (close_quote != std::string_view::npos) {
    report.object = line.substr(open_quote + 1, close_quote - open_quote - 1);
  }
  if (const std::size_t size = line.rfind(" of size ");
      size != std::string_view::npos) {
    report.object_size = leading_number<std::size_t>(line.substr(size + 9));
  }
  return true;
}

// A line after the first stack; false when it ends the report.
bool read_detail(std::string_view line, StackObject& before,
                 SanitizerReport& report) {
  if (read_access(line, report) || read_stack_object(line, before, report) ||
      read_global_object(line, report)) {
    return true;
  }
  if (!report.object.empty() &&
      line.starts_with("'" + report.object + "' is ascii string")) {
    report.literal = true;
  } else if (line.find("Hint: address points to the zero page") !=
             std::string_view::npos) {
    report.null_address = true;
  } else if (line.starts_with("SUMMARY: ")) {
    report.complete = true;
    return false;
  }
  return true;
}

// Reads a report line by line: the line that gives its kind, then the
// opens that failed before a file not open, or the first stack and the
// details that follow it.
class ReportReader {
 public:
  // Takes one line, blanks trimmed; false when the report has ended.
  bool take(std::string_view line) {
    if (report_.kind == Kind::kNone) {
      if (!read_runtime_error(line, report_)) read_address_error(line, report_);
      return true;
    }
    if (report_.kind == Kind::kFileNotOpen) {
      SanitizerReport::FailedOpen open;
      if (read_failed_open(line, open)) report_.failed_opens.push_back(open);
      return true;
    }
    StackFrame frame;
    if (!stack_done_ && read_frame(line, frame)) {
      in_stack_ = true;
      report_.stack.push_back(std::move(frame));
      return true;
    }
    if (in_stack_) {
      in_stack_ = false;
      stack_done_ = true;
    }
    return read_detail(line, stack_object_before_, report_);
  }

  SanitizerReport report() && { return std::move(report_); }

 private:
  SanitizerReport report_;
  bool in_stack_ = false;  // reading the first stack
  bool stack_done_ = false;
  StackObject stack_object_before_;  // in the frame's list of variables
};

}  // namespace

SanitizerReport read_sanitizer_report(std::string_view text) {
  ReportReader reader;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    const std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    if (!reader.take(trimmed(line))) break;
  }
  return std::move(reader).report();
}

}  // namespace zemuc::explain
