#include "compiler/report.h"

#include <cstdlib>

namespace zemuc::compiler {
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
  if (detail.starts_with("division by zero")) return Kind::kDivisionByZero;
  if (detail.starts_with("signed integer overflow") ||
      detail.starts_with("negation of") ||
      (detail.starts_with("division of") &&
       detail.find("cannot be represented") != std::string_view::npos)) {
    return Kind::kOverflow;
  }
  if (detail.starts_with("typed number") || detail.starts_with("read number")) {
    return Kind::kNumberTooLarge;
  }
  if (detail == "file not open") return Kind::kFileNotOpen;
  if (detail.starts_with("index ") &&
      detail.find("out of bounds") != std::string_view::npos) {
    return Kind::kIndexOutOfBounds;
  }
  if (detail.find("null pointer") != std::string_view::npos) {
    return Kind::kNullPointer;
  }
  return Kind::kOther;
}

Kind kind_of_address_error(std::string_view name) {
  if (name.starts_with("stack-buffer-overflow") ||
      name.starts_with("stack-buffer-underflow") ||
      name.starts_with("dynamic-stack-buffer-overflow")) {
    return Kind::kStackOverflow;
  }
  if (name == "SEGV" || name == "BUS") return Kind::kBadAddress;
  return Kind::kMemory;
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
        // The copy's own checks write the one line and stop.
        if (report.kind == Kind::kNumberTooLarge ||
            report.kind == Kind::kFileNotOpen) {
          report.complete = true;
        }
      } else if (const std::size_t at = bare.find(kAddressError);
                 at != std::string_view::npos) {
        const std::string_view rest = bare.substr(at + kAddressError.size());
        const std::size_t space = rest.find(' ');
        report.detail = rest.substr(0, space);
        report.kind = kind_of_address_error(report.detail);
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

}  // namespace zemuc::compiler
