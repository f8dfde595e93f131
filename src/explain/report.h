// Reading what the sanitizers (and the copy's own checks) write when they
// stop a program: AddressSanitizer's ERROR with its stack, the stack
// object overflowed and the access; UndefinedBehaviorSanitizer's
// "runtime error" with its place. A report cut short is read as far as it
// goes.
#ifndef ZEMUC_REPORT_H_
#define ZEMUC_REPORT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zemuc::explain {

struct StackFrame {
  std::string function;
  std::string file;  // empty when the frame names no source
  std::size_t line = 0;
  std::size_t column = 0;
};

struct SanitizerReport {
  // Each kind is known by its words in report.cc and told by its row in
  // fault_kinds.cc; kOther stays last.
  enum class Kind {
    kNone,              // nothing read: no report, or one cut before its kind
    kDivisionByZero,    // integer division or remainder by zero
    kOverflow,          // a result too large for its type
    kNumberTooLarge,    // typed or read for an int, and too large for it
    kNotANumber,        // typed for an int, and not a number at all
    kFileNotOpen,       // a file statement on a file that did not open
    kFileNotWritten,    // a write or close that failed (a full disk)
    kFileNotRead,       // a read that failed, not at the end (a folder)
    kFileClosed,        // a file statement on a file closed before
    kOutsideRange,      // a fraction converted to a type too small for it
    kStackOverflow,     // a write or read past a variable on the stack
    kGlobalOverflow,    // past a variable outside main, or a literal
    kHeapOverflow,      // past memory from malloc
    kIndexOutOfBounds,  // an index outside an array
    kNullPointer,       // a null pointer passed or used
    kMisaligned,        // an access at an address not aligned for its type
    kShift,             // a shift by too much or of a negative number
    kOverlap,           // a copy whose source and target overlap
    kUseAfterFree,      // memory used after free
    kDoubleFree,        // memory freed twice
    kBadFree,           // free of memory malloc did not give
    kUseAfterReturn,    // a variable of a function that has returned
    kUseAfterScope,     // a variable of a block that has ended
    kStackExhausted,    // calls so deep that the stack ran out
    kTooMuchMemory,     // an allocation too large to be had
    kNegativeSize,      // a negative size passed to a function
    kPointerOverflow,   // pointer arithmetic that wrapped around
    kArithmetic,        // a floating-point or other arithmetic signal
    kBadAddress,        // a SEGV or bus error
    kMemory,            // any other fault of memory AddressSanitizer finds
    kOther,             // any other runtime error
  };
  Kind kind = Kind::kNone;
  // The sanitizer's words: after "runtime error: ", or AddressSanitizer's
  // kind ("heap-use-after-free").
  std::string detail;
  // The place the runtime error names, when it names one.
  StackFrame place;
  std::vector<StackFrame> stack;  // innermost first
  std::string object;             // the stack variable overflowed ('cc3')
  std::size_t object_size = 0;    // its bytes
  std::size_t access_size = 0;    // the bytes of the access
  bool write = false;
  bool literal = false;  // the global overflowed is a text in quotes
  // The function a copy whose source and target overlap was made with
  // ("strcat" of "strcat-param-overlap").
  std::string function;
  // For a file not open: the opens that failed before, oldest first, each
  // at its 開く with the C library's error number (the copy's own check).
  struct FailedOpen {
    StackFrame place;
    int error = 0;
  };
  std::vector<FailedOpen> failed_opens;
  // For a file not written or read: the C library's error number.
  int error = 0;
  // For a file closed before: the line of its close.
  std::size_t closed_line = 0;
  bool null_address = false;  // the address lies in the zero page
  bool complete = false;      // the report reached its summary
};

// Reads the first report in `text`.
SanitizerReport read_sanitizer_report(std::string_view text);

}  // namespace zemuc::explain

#endif  // ZEMUC_REPORT_H_
