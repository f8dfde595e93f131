// The C text as a compiler reads it: the translation's C text with each
// line told which source line it comes from, for any C compiler.
//
// prog.c is code page 932, which only a compiler told so reads right: a
// Shift-JIS character whose second byte is 0x5C reads as a backslash to
// every other. The copy holds no byte above 0x7F that a compiler could
// misread: inside literals each is an octal escape, so that the program
// gets the very bytes of prog.c; elsewhere (names no declaration made,
// comments) the characters are UTF-8, which compilers name in their
// messages. A `#line` directive before each source line's C text makes
// the compiler, the linker and the sanitizers name the source and its
// line; the frame that はじめ and おわり write is named kFrameName.
#ifndef ZEMUC_COPY_H_
#define ZEMUC_COPY_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "program/program.h"
#include "text/language.h"

namespace zemuc {

// The file name the frame's lines are given, and how a message says a
// place there.
inline constexpr std::string_view kFrameName = "<translator>";
inline constexpr Text kInFrame = {
    "{} (書き換えでプログラムの周りに足されるコードの中)",
    "{} (in the code the translator writes around the program)"};

// Whether a file a tool names is `file` as a #line of the copy gives it:
// debug information puts the compiler's folder before a relative name.
bool names_file(std::string_view named, std::string_view file);

// The status a checked program ends with when a check stops it, and zemuc
// with it (EX_SOFTWARE of sysexits.h: a fault of the program run). The
// frame, runtime/checks.c, says it as a number; tests/program/copy_test.cc
// holds the two together.
inline constexpr int kCheckFailedStatus = 70;
// Set in its environment, a checked program ends at once with status 0:
// zemuc learns that it can start.
inline constexpr std::string_view kProbeVariable = "ZEMUC_PROBE";
// Set in its environment, the file where a checked program writes what its
// own checks find (a number too large for a number variable, a file
// statement on a file that did not open), as UndefinedBehaviorSanitizer
// writes a runtime error.
inline constexpr std::string_view kReportVariable = "ZEMUC_CHECK_REPORT";
// Set in its environment, the file where a checked program notes each
// open that failed, with the C library's error number, for the report of
// a file statement on a file that did not open.
inline constexpr std::string_view kOpenNotesVariable = "ZEMUC_OPEN_NOTES";

// Where a place of the copy lies in the translation's C text.
class CopyMap {
 public:
  // What the compiler calls a line: a line of the source, or of the frame.
  enum class File { kSource, kFrame };

  // The offset in the C text of the byte at `column` (counted from 1, in
  // bytes; 0 for the line's start) of the line the compiler calls `line`
  // of `file`; a column past the end of the line gives an offset past its
  // text. Nothing when no line of the copy with C text has that name: the
  // lines the frame adds have none.
  std::optional<std::size_t> find(File file, std::size_t line,
                                  std::size_t column) const;

  // Building, line by line of the copy.
  struct Anchor {
    std::size_t column;    // where a piece of the copy's line starts
    std::size_t c_offset;  // where its C text starts
    bool same_bytes;       // the piece is the C text byte for byte
  };
  struct Line {
    File file;
    std::size_t number;  // as the compiler counts
    bool frame;
    std::vector<Anchor> anchors;
  };
  void add(Line line) { lines_.push_back(std::move(line)); }

 private:
  std::vector<Line> lines_;
};

struct CompilerCopy {
  std::string text;
  CopyMap map;
};

// What the frame around the program's C text holds.
enum class Frame {
  // The plain frame (program/plain_frame.h): the watch that notes where a
  // fault stopped the program.
  kPlain,
  // The run-time checks that the sanitizers, built in by the compiler, do
  // not make: the start probe (kProbeVariable), the check of numbers typed
  // or read for a number variable, of texts put into a variable too small
  // for them, and of the files that file statements use (reported as
  // kReportVariable says, status kCheckFailedStatus, with the opens that
  // failed as kOpenNotesVariable has them noted).
  kChecked,
  // For a compiler that cannot build the sanitizers: the same checks,
  // after the plain frame's watch, which names a fault's line without them.
  kOwnChecks,
};

// The copy of the program's C text in `frame`.
CompilerCopy make_compiler_copy(const Program& program, Frame frame);
inline CompilerCopy make_compiler_copy(const Program& program, bool checked) {
  return make_compiler_copy(program, checked ? Frame::kChecked : Frame::kPlain);
}

}  // namespace zemuc

#endif  // ZEMUC_COPY_H_
