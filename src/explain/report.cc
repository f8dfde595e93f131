#include "explain/report.h"

#include <algorithm>
#include <cstdlib>

namespace zemuc::explain {
namespace {

using Kind = SanitizerReport::Kind;

bool is_digits(std::string_view s) {
  if (s.empty()) return false;
  for (const char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::size_t number(std::string_view text) {
  std::size_t n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9' || n > 1'000'000'000'000) break;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  return n;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

// "FILE:LINE:COLUMN", "FILE:LINE" or anything else (a module, an object).
StackFrame place_of(std::string_view where) {
  StackFrame frame;
  std::size_t numbers[2] = {0, 0};
  int found = 0;
  while (found < 2) {
    const std::size_t colon = where.rfind(':');
    if (colon == std::string_view::npos || !is_digits(where.substr(colon + 1)))
      break;
    numbers[found++] = number(where.substr(colon + 1));
    where = where.substr(0, colon);
  }
  if (found == 0) return frame;
  frame.file = where;
  frame.line = found == 2 ? numbers[1] : numbers[0];
  frame.column = found == 2 ? numbers[0] : 0;
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

Kind kind_of_runtime_error(std::string_view detail) {
  const auto has = [detail](std::string_view words) {
    return detail.find(words) != std::string_view::npos;
  };
  if (detail.starts_with("division by zero")) return Kind::kDivisionByZero;
  if (detail.starts_with("signed integer overflow") ||
      detail.starts_with("negation of") ||
      (detail.starts_with("division of") && has("cannot be represented")) ||
      (detail.starts_with("left shift of ") && has(" places cannot be"))) {
    return Kind::kOverflow;
  }
  if (detail.starts_with("typed number") || detail.starts_with("read number")) {
    return Kind::kNumberTooLarge;
  }
  if (detail == "file not open") return Kind::kFileNotOpen;
  if (detail.starts_with("file not written: ")) return Kind::kFileNotWritten;
  if (detail.starts_with("file not read: ")) return Kind::kFileNotRead;
  if (has(" is outside the range of representable values of type ")) {
    return Kind::kOutsideRange;
  }
  if (detail.starts_with("index ") && has("out of bounds")) {
    return Kind::kIndexOutOfBounds;
  }
  if (has("null pointer")) return Kind::kNullPointer;
  if (has("misaligned address")) return Kind::kMisaligned;
  if (detail.starts_with("shift exponent") ||
      detail.starts_with("left shift of negative")) {
    return Kind::kShift;
  }
  if (detail.starts_with("pointer index expression") ||
      (detail.starts_with("addition of") && has("overflowed")) ||
      (detail.starts_with("subtraction of") && has("overflowed"))) {
    return Kind::kPointerOverflow;
  }
  return Kind::kOther;
}

// AddressSanitizer's kind, the first word after "AddressSanitizer: ", or
// the word after "attempting".
Kind kind_of_address_error(std::string_view name) {
  if (name.starts_with("stack-buffer-overflow") ||
      name.starts_with("stack-buffer-underflow") ||
      name.starts_with("dynamic-stack-buffer-overflow")) {
    return Kind::kStackOverflow;
  }
  if (name.starts_with("global-buffer-overflow")) return Kind::kGlobalOverflow;
  if (name.starts_with("heap-buffer-overflow")) return Kind::kHeapOverflow;
  if (name.ends_with("-param-overlap")) return Kind::kOverlap;
  if (name == "heap-use-after-free") return Kind::kUseAfterFree;
  if (name == "double-free") return Kind::kDoubleFree;
  if (name == "bad-free") return Kind::kBadFree;
  if (name == "stack-use-after-return") return Kind::kUseAfterReturn;
  if (name == "stack-use-after-scope") return Kind::kUseAfterScope;
  if (name == "stack-overflow") return Kind::kStackExhausted;
  if (name == "requested" || name == "allocation-size-too-big" ||
      name == "out-of-memory" || name == "calloc-overflow" ||
      name == "pvalloc-overflow" || name == "out") {
    return Kind::kTooMuchMemory;
  }
  if (name == "negative-size-param") return Kind::kNegativeSize;
  if (name == "FPE") return Kind::kArithmetic;
  if (name == "SEGV" || name == "BUS") return Kind::kBadAddress;
  return Kind::kMemory;
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
  open.error = static_cast<int>(std::min<std::size_t>(number(rest), 100000));
  return open.place.line != 0;
}

// The copy's own checks write the one line and stop; a file not written
// or read says the C library's error number ("file not written: 28 No
// space left on device").
void read_own_check(SanitizerReport& report) {
  const bool file_failed =
      report.kind == Kind::kFileNotWritten || report.kind == Kind::kFileNotRead;
  report.complete = file_failed || report.kind == Kind::kNumberTooLarge ||
                    report.kind == Kind::kFileNotOpen;
  if (file_failed) {
    const std::string_view detail = report.detail;
    report.error = static_cast<int>(std::min<std::size_t>(
        number(detail.substr(detail.find(": ") + 2)), 100000));
  }
}

std::size_t hex_number(std::string_view text) {
  if (text.starts_with("0x")) text.remove_prefix(2);
  std::size_t n = 0;
  for (const char c : text) {
    int v;
    if (c >= '0' && c <= '9') {
      v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      v = c - 'a' + 10;
    } else {
      break;
    }
    n = n * 16 + static_cast<std::size_t>(v);
  }
  return n;
}

}  // namespace

SanitizerReport read_sanitizer_report(std::string_view text) {
  SanitizerReport report;
  bool in_stack = false;  // reading the first stack
  bool stack_done = false;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    const std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    const std::string_view bare = trimmed(line);

    if (report.kind == Kind::kNone) {
      constexpr std::string_view kRuntimeError = ": runtime error: ";
      constexpr std::string_view kAddressError = "ERROR: AddressSanitizer: ";
      if (const std::size_t at = bare.find(kRuntimeError);
          at != std::string_view::npos) {
        report.detail = bare.substr(at + kRuntimeError.size());
        report.kind = kind_of_runtime_error(report.detail);
        report.place = place_of(bare.substr(0, at));
        read_own_check(report);
      } else if (const std::size_t at = bare.find(kAddressError);
                 at != std::string_view::npos) {
        const std::string_view rest = bare.substr(at + kAddressError.size());
        report.detail = address_error_name(rest);
        report.kind = kind_of_address_error(report.detail);
        if (report.kind == Kind::kOverlap) {
          report.function = report.detail.substr(0, report.detail.find('-'));
        }
        constexpr std::string_view kAddress = " address ";
        if (const std::size_t a = rest.find(kAddress);
            a != std::string_view::npos) {
          const std::size_t address =
              hex_number(rest.substr(a + kAddress.size()));
          report.null_address = address < 4096;
        }
      }
      continue;
    }
    if (report.kind == Kind::kFileNotOpen) {
      SanitizerReport::FailedOpen open;
      if (read_failed_open(bare, open)) report.failed_opens.push_back(open);
      continue;
    }
    StackFrame frame;
    if (!stack_done && read_frame(bare, frame)) {
      in_stack = true;
      report.stack.push_back(std::move(frame));
      continue;
    }
    if (in_stack) {
      in_stack = false;
      stack_done = true;
    }
    if (bare.starts_with("READ of size ") ||
        bare.starts_with("WRITE of size ")) {
      report.write = bare.starts_with("WRITE");
      report.access_size = number(bare.substr(bare.find("size ") + 5));
    } else if (bare.find("<== Memory access at offset") !=
                   std::string_view::npos &&
               bare.starts_with("[")) {
      // "[192, 448) 'cc3' (line 8) <== Memory access at offset 448 ..."
      const std::size_t comma = bare.find(',');
      const std::size_t close = bare.find(')');
      const std::size_t open_quote = bare.find('\'');
      const std::size_t close_quote = bare.find('\'', open_quote + 1);
      if (comma != std::string_view::npos && close != std::string_view::npos &&
          close_quote != std::string_view::npos) {
        const std::size_t begin = number(bare.substr(1, comma - 1));
        const std::size_t end = number(trimmed(bare.substr(comma + 1)));
        report.object_size = end > begin ? end - begin : 0;
        report.object =
            bare.substr(open_quote + 1, close_quote - open_quote - 1);
      }
    } else if (const std::size_t global = bare.find("global variable '");
               global != std::string_view::npos && report.object.empty()) {
      // "0x55 is located 0 bytes to the right of global variable 'g'
      // defined in 'p.zem:1:5' (0x55) of size 12"
      const std::size_t open_quote = global + 16;
      const std::size_t close_quote = bare.find('\'', open_quote + 1);
      if (close_quote != std::string_view::npos) {
        report.object =
            bare.substr(open_quote + 1, close_quote - open_quote - 1);
      }
      if (const std::size_t size = bare.rfind(" of size ");
          size != std::string_view::npos) {
        report.object_size = number(bare.substr(size + 9));
      }
    } else if (!report.object.empty() &&
               bare.starts_with("'" + report.object + "' is ascii string")) {
      report.literal = true;
    } else if (bare.find("Hint: address points to the zero page") !=
               std::string_view::npos) {
      report.null_address = true;
    } else if (bare.starts_with("SUMMARY: ")) {
      report.complete = true;
      break;
    }
  }
  return report;
}

}  // namespace zemuc::explain
