// Reading the sanitizers' reports as gcc's and clang's run-times write
// them, whole and cut short.
#include "explain/report.h"

#include <gtest/gtest.h>

#include <string>

namespace zemuc::explain {
namespace {

using Kind = SanitizerReport::Kind;

constexpr const char* kGccOverflow =
    "=================================================================\n"
    "==5264==ERROR: AddressSanitizer: stack-buffer-overflow on address "
    "0x7ffc562575c0 at pc 0x5631dcdaef45 bp 0x7ffc56257210 sp "
    "0x7ffc562569c0\n"
    "WRITE of size 301 at 0x7ffc562575c0 thread T0\n"
    "    #0 0x5631dcdaef44 in scanf_common(void*, int, bool, char const*, "
    "__va_list_tag*) (/tmp/zemuc-H1EgfD/program+0x56f44)\n"
    "    #1 0x5631dcdaf9df in __interceptor___isoc99_vscanf "
    "(/tmp/zemuc-H1EgfD/program+0x579df)\n"
    "    #2 0x5631dce3eb19 in main /tmp/exp/z/long.zem:2\n"
    "    #3 0x7fa061c5e249 in __libc_start_call_main "
    "../sysdeps/nptl/libc_start_call_main.h:58\n"
    "\n"
    "Address 0x7ffc562575c0 is located in stack of thread T0 at offset 448 "
    "in frame\n"
    "    #0 0x5631dce3ea57 in main /tmp/exp/z/<translator>:106\n"
    "\n"
    "  This frame has 2 object(s):\n"
    "    [48, 148) 'dummy' (line 106)\n"
    "    [192, 448) 'cc1' (line 106) <== Memory access at offset 448 "
    "overflows this variable\n"
    "HINT: this may be a false positive if your program uses some custom "
    "stack unwind mechanism, swapcontext or vfork\n"
    "SUMMARY: AddressSanitizer: stack-buffer-overflow "
    "(/tmp/zemuc-H1EgfD/program+0x56f44) in scanf_common(void*, int, bool, "
    "char const*, __va_list_tag*)\n";

constexpr const char* kClangOverflow =
    "==5288==ERROR: AddressSanitizer: stack-buffer-overflow on address "
    "0x7ffe09b2a8b0 at pc 0x5644b07b78d0 bp 0x7ffe09b2a430 sp "
    "0x7ffe09b29bb8\n"
    "WRITE of size 301 at 0x7ffe09b2a8b0 thread T0\n"
    "    #0 0x5644b07b78cf in scanf_common(void*, int, bool, char const*, "
    "__va_list_tag*) asan_interceptors.cpp.o\n"
    "    #1 0x5644b07b7ccf in __interceptor___isoc99_vscanf "
    "(/tmp/zemuc-LorMl5/program+0x41ccf) (BuildId: "
    "7a78a472fd8f719ebcd21569120519f4e5a6a6b7)\n"
    "    #2 0x5644b08550e8 in main /tmp/exp/z/long.zem:2:2\n"
    "\n"
    "Address 0x7ffe09b2a8b0 is located in stack of thread T0 at offset 432 "
    "in frame\n"
    "    #0 0x5644b0854f4f in main /tmp/exp/z/<translator>:106\n"
    "\n"
    "  This frame has 2 object(s):\n"
    "    [32, 132) 'dummy' (line 1)\n"
    "    [176, 432) 'cc1' (line 1) <== Memory access at offset 432 "
    "overflows this variable\n"
    "SUMMARY: AddressSanitizer: stack-buffer-overflow "
    "asan_interceptors.cpp.o in scanf_common\n";

// A strcat past its target: the access starts on the byte after cc1, and
// the marker stands by cc2, the variable nearest that byte.
constexpr const char* kGccAddedPast =
    "==833==ERROR: AddressSanitizer: stack-buffer-overflow on address "
    "0x7fffd63bbcf0 at pc 0x55ede8cfcfa8 bp 0x7fffd63bbb20 sp "
    "0x7fffd63bb2d0\n"
    "WRITE of size 201 at 0x7fffd63bbcf0 thread T0\n"
    "    #0 0x55ede8cfcfa7 in strcat (/tmp/zemuc-dPoH4K/program+0x2dfa7)\n"
    "    #1 0x55ede8db66c8 in main /tmp/kk/cat.zem:4\n"
    "\n"
    "Address 0x7fffd63bbcf0 is located in stack of thread T0 at offset 448 "
    "in frame\n"
    "    #0 0x55ede8db6594 in main /tmp/kk/<translator>:413\n"
    "\n"
    "  This frame has 3 object(s):\n"
    "    [48, 148) 'dummy' (line 413)\n"
    "    [192, 448) 'cc1' (line 413)\n"
    "    [512, 768) 'cc2' (line 413) <== Memory access at offset 448 "
    "partially underflows this variable\n"
    "SUMMARY: AddressSanitizer: stack-buffer-overflow "
    "(/tmp/zemuc-dPoH4K/program+0x2dfa7) in strcat\n";

constexpr const char* kGccDivision =
    "div.zem:3:9: runtime error: division by zero\n"
    "    #0 0x56193ce96bee in main /tmp/exp/z/div.zem:3\n"
    "    #1 0x7f9b9fa2c249 in __libc_start_call_main "
    "../sysdeps/nptl/libc_start_call_main.h:58\n";

constexpr const char* kClangOverflowOfInt =
    "p.zem:5:46: runtime error: signed integer overflow: 2147483647 + 2 "
    "cannot be represented in type 'int'\n"
    "    #0 0x557a0ba8327a in main /tmp/exp/p.zem:5:46\n"
    "\n"
    "SUMMARY: UndefinedBehaviorSanitizer: undefined-behavior p.zem:5:46 in \n";

constexpr const char* kClangNullFile =
    "==15803==ERROR: AddressSanitizer: SEGV on unknown address "
    "0x0000000000c0 (pc 0x7f3a7852d43e bp 0x7ffccdf58f70 sp 0x7ffccdf585f0 "
    "T0)\n"
    "==15803==The signal is caused by a READ memory access.\n"
    "==15803==Hint: address points to the zero page.\n"
    "    #0 0x7f3a7852d43e in __vfprintf_internal "
    "stdio-common/./stdio-common/vfprintf-internal.c:722:3\n"
    "    #1 0x55a4694424aa in fprintf (/tmp/exp/r1.clang+0x444aa)\n"
    "    #2 0x55a4694dd45e in main /tmp/exp/r.zem:8:53\n"
    "\n"
    "AddressSanitizer can not provide additional info.\n"
    "SUMMARY: AddressSanitizer: SEGV "
    "stdio-common/./stdio-common/vfprintf-internal.c:722:3 in "
    "__vfprintf_internal\n";

constexpr const char* kOwnCheck =
    "p.zem:2: runtime error: typed number 99999999999 does not fit in type "
    "'int'\n";

TEST(SanitizerReport, EachRunTimesReportIsRead) {
  const struct {
    const char* what;
    const char* text;
    Kind kind;
    const char* detail;
    const char* place;  // FILE:LINE:COLUMN of the runtime error
    std::size_t frames;
    const char* first_in_main;  // FILE:LINE:COLUMN of main's frame
    const char* object;
    std::size_t object_size, access_size;
    bool null_address, complete;
  } cases[] = {
      {"gcc stack overflow", kGccOverflow, Kind::kStackOverflow,
       "stack-buffer-overflow", ":0:0", 4, "/tmp/exp/z/long.zem:2:0", "cc1",
       256, 301, false, true},
      {"clang stack overflow", kClangOverflow, Kind::kStackOverflow,
       "stack-buffer-overflow", ":0:0", 3, "/tmp/exp/z/long.zem:2:2", "cc1",
       256, 301, false, true},
      {"gcc strcat past its target", kGccAddedPast, Kind::kStackOverflow,
       "stack-buffer-overflow", ":0:0", 2, "/tmp/kk/cat.zem:4:0", "cc1", 256,
       201, false, true},
      {"gcc division", kGccDivision, Kind::kDivisionByZero, "division by zero",
       "div.zem:3:9", 2, "/tmp/exp/z/div.zem:3:0", "", 0, 0, false, false},
      {"clang overflow", kClangOverflowOfInt, Kind::kOverflow,
       "signed integer overflow: 2147483647 + 2 cannot be represented in "
       "type 'int'",
       "p.zem:5:46", 1, "/tmp/exp/p.zem:5:46", "", 0, 0, false, true},
      {"clang null file", kClangNullFile, Kind::kBadAddress, "SEGV", ":0:0", 3,
       "/tmp/exp/r.zem:8:53", "", 0, 0, true, true},
      {"the copy's own check", kOwnCheck, Kind::kNumberTooLarge,
       "typed number 99999999999 does not fit in type 'int'", "p.zem:2:0", 0,
       "", "", 0, 0, false, true},
      {"nothing", "", Kind::kNone, "", ":0:0", 0, "", "", 0, 0, false, false},
  };
  const auto where = [](const StackFrame& f) {
    return f.file + ":" + std::to_string(f.line) + ":" +
           std::to_string(f.column);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const SanitizerReport r = read_sanitizer_report(c.text);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.detail, c.detail);
    EXPECT_EQ(where(r.place), c.place);
    EXPECT_EQ(r.stack.size(), c.frames);
    std::string in_main;
    for (const StackFrame& f : r.stack) {
      if (f.function == "main") in_main = where(f);
    }
    EXPECT_EQ(in_main, c.first_in_main);
    EXPECT_EQ(r.object, c.object);
    EXPECT_EQ(r.object_size, c.object_size);
    EXPECT_EQ(r.access_size, c.access_size);
    EXPECT_EQ(r.null_address, c.null_address);
    EXPECT_EQ(r.complete, c.complete);
  }
}

// The kinds a learner's C can reach, each from the first lines of a report
// as gcc's or clang's run-time writes it.
TEST(SanitizerReport, EachKindALearnerCanReach) {
  const struct {
    const char* text;
    Kind kind;
    const char* detail;
    const char* function;  // of an overlap
    const char* object;    // of a global overflowed
    std::size_t object_size;
    bool literal;
  } cases[] = {
      {"==1==ERROR: AddressSanitizer: strcat-param-overlap: memory ranges "
       "[0x7ffc,0x7ffc5) and [0x7ffc, 0x7ffc3) overlap\n",
       Kind::kOverlap, "strcat-param-overlap", "strcat", "", 0, false},
      {"==1==ERROR: AddressSanitizer: memcpy-param-overlap: memory ranges\n",
       Kind::kOverlap, "memcpy-param-overlap", "memcpy", "", 0, false},
      {"p.zem:3:6: runtime error: load of null pointer of type 'int'\n",
       Kind::kNullPointer, "load of null pointer of type 'int'", "", "", 0,
       false},
      {"p.zem:3:5: runtime error: load of misaligned address 0x7fff for "
       "type 'int', which requires 4 byte alignment\n",
       Kind::kMisaligned,
       "load of misaligned address 0x7fff for type 'int', which requires 4 "
       "byte alignment",
       "", "", 0, false},
      {"p.zem:3:7: runtime error: shift exponent 40 is too large for 32-bit "
       "type 'int'\n",
       Kind::kShift, "shift exponent 40 is too large for 32-bit type 'int'", "",
       "", 0, false},
      {"p.zem:3:9: runtime error: left shift of negative value -1\n",
       Kind::kShift, "left shift of negative value -1", "", "", 0, false},
      {"p.zem:3:7: runtime error: left shift of 3 by 31 places cannot be "
       "represented in type 'int'\n",
       Kind::kOverflow,
       "left shift of 3 by 31 places cannot be represented in type 'int'", "",
       "", 0, false},
      {"==1==ERROR: AddressSanitizer: heap-buffer-overflow on address "
       "0x6020 at pc 0x55\n",
       Kind::kHeapOverflow, "heap-buffer-overflow", "", "", 0, false},
      {"==1==ERROR: AddressSanitizer: heap-use-after-free on address 0x6020\n",
       Kind::kUseAfterFree, "heap-use-after-free", "", "", 0, false},
      {"==1==ERROR: AddressSanitizer: attempting double-free on 0x6020 in "
       "thread T0:\n",
       Kind::kDoubleFree, "double-free", "", "", 0, false},
      {"==1==ERROR: AddressSanitizer: attempting free on address which was "
       "not malloc()-ed: 0x7ffd in thread T0\n",
       Kind::kBadFree, "bad-free", "", "", 0, false},
      {"==1==ERROR: AddressSanitizer: stack-use-after-scope on address "
       "0x7ffd\n",
       Kind::kUseAfterScope, "stack-use-after-scope", "", "", 0, false},
      {"==1==ERROR: AddressSanitizer: stack-use-after-return on address "
       "0x7f\n",
       Kind::kUseAfterReturn, "stack-use-after-return", "", "", 0, false},
      {"==1==ERROR: AddressSanitizer: stack-overflow on address 0x7ffd (pc "
       "0x55 bp 0x7ffd sp 0x7ffd T0)\n",
       Kind::kStackExhausted, "stack-overflow", "", "", 0, false},
      {"==1==ERROR: AddressSanitizer: requested allocation size "
       "0xffffffffffffffff (0x800 after adjustments) exceeds maximum "
       "supported size of 0x10000000000 (thread T0)\n",
       Kind::kTooMuchMemory, "requested", "", "", 0, false},
      {"==1==ERROR: AddressSanitizer: negative-size-param: (size=-1)\n",
       Kind::kNegativeSize, "negative-size-param", "", "", 0, false},
      {"==1==ERROR: AddressSanitizer: global-buffer-overflow on address "
       "0x55 at pc 0x55\n"
       "READ of size 1 at 0x55 thread T0\n"
       "    #0 0x55 in main /w/p.zem:3\n"
       "\n"
       "0x55 is located 1 bytes to the right of global variable '*.LC0' "
       "defined in 'p.zem:3:5' (0x55) of size 4\n"
       "  '*.LC0' is ascii string 'abc'\n",
       Kind::kGlobalOverflow, "global-buffer-overflow", "", "*.LC0", 4, true},
      {"==1==ERROR: AddressSanitizer: global-buffer-overflow on address "
       "0x55 at pc 0x55\n"
       "0x55 is located 0 bytes to the right of global variable 'g' defined "
       "in 'p.zem:1:5' (0x55) of size 12\n",
       Kind::kGlobalOverflow, "global-buffer-overflow", "", "g", 12, false},
      {"==1==ERROR: AddressSanitizer: FPE on unknown address 0x55\n",
       Kind::kArithmetic, "FPE", "", "", 0, false},
      {"p.zem:3: runtime error: file not written: 28 No space left on "
       "device\n",
       Kind::kFileNotWritten, "file not written: 28 No space left on device",
       "", "", 0, false},
      {"p.zem:3: runtime error: file not read: 21 Is a directory\n",
       Kind::kFileNotRead, "file not read: 21 Is a directory", "", "", 0,
       false},
      {"p.zem:3:6: runtime error: 1e+10 is outside the range of "
       "representable values of type 'int'\n",
       Kind::kOutsideRange,
       "1e+10 is outside the range of representable values of type 'int'", "",
       "", 0, false},
      {"==1==ERROR: AddressSanitizer: unknown-crash on address 0x55\n",
       Kind::kMemory, "unknown-crash", "", "", 0, false},
      {"p.zem:3:5: runtime error: load of value 7, which is not a valid "
       "value for type '_Bool'\n",
       Kind::kOther,
       "load of value 7, which is not a valid value for type "
       "'_Bool'",
       "", "", 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const SanitizerReport r = read_sanitizer_report(c.text);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.detail, c.detail);
    EXPECT_EQ(r.function, c.function);
    EXPECT_EQ(r.object, c.object);
    EXPECT_EQ(r.object_size, c.object_size);
    EXPECT_EQ(r.literal, c.literal);
  }
}

// A file not open is reported with the opens that failed before it, each
// with its line and error number; anything else after it is no such open.
TEST(SanitizerReport, FailedOpensFollowAFileNotOpen) {
  const SanitizerReport r = read_sanitizer_report(
      "p.zem:6: runtime error: file not open\n"
      "p.zem:3: note: open failed: 2 No such file or directory\n"
      "p.zem:4: note: open failed: 21 Is a directory\n"
      "p.zem:5: note: open failed: no number\n"
      "note: open failed: 13 Permission denied\n"
      "p.zem:5: note: open failed: 13 Permission de");
  EXPECT_EQ(r.kind, Kind::kFileNotOpen);
  ASSERT_EQ(r.failed_opens.size(), 3u);
  EXPECT_EQ(r.failed_opens[0].place.line, 3u);
  EXPECT_EQ(r.failed_opens[0].error, 2);
  EXPECT_EQ(r.failed_opens[1].place.file, "p.zem");
  EXPECT_EQ(r.failed_opens[1].error, 21);
  // Cut short in its text: the number is whole.
  EXPECT_EQ(r.failed_opens[2].place.line, 5u);
  EXPECT_EQ(r.failed_opens[2].error, 13);
  EXPECT_TRUE(read_sanitizer_report("p.zem:3: note: open failed: 2 x\n")
                  .failed_opens.empty());
}

// A program killed while its report is written leaves any prefix of it: the
// reader takes what is there, knows the kind once its line is whole, and
// never calls the report complete before its summary.
TEST(SanitizerReport, ReportCutShortAnywhereIsReadAsFarAsItGoes) {
  for (const char* whole : {kGccOverflow, kClangOverflow, kGccDivision,
                            kClangOverflowOfInt, kClangNullFile}) {
    const std::string text = whole;
    const SanitizerReport full = read_sanitizer_report(text);
    const std::size_t kind_line_end =
        text.find('\n', text.find(full.kind == Kind::kDivisionByZero ||
                                          full.kind == Kind::kOverflow
                                      ? "runtime error"
                                      : "ERROR:"));
    const std::size_t summary = text.find("SUMMARY:");
    for (std::size_t n = 0; n <= text.size(); ++n) {
      SCOPED_TRACE(text.substr(0, n));
      const SanitizerReport cut = read_sanitizer_report(text.substr(0, n));
      if (n > kind_line_end) {
        EXPECT_EQ(cut.kind, full.kind);
      }
      if (summary == std::string::npos || n <= summary) {
        EXPECT_FALSE(cut.complete);
      }
      EXPECT_LE(cut.stack.size(), full.stack.size());
    }
  }
}

}  // namespace
}  // namespace zemuc::explain
