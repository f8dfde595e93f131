// What the compiler says of a document's text, as data: the compiler's
// copy made from the translation, and the compiler's output read back onto
// the learner's lines in the words `zemuc run` prints. Text in, data out:
// running the compiler is server/background_build.h's.
#ifndef ZEMUC_LSP_COMPILER_FINDINGS_H_
#define ZEMUC_LSP_COMPILER_FINDINGS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "program/copy.h"
#include "program/program.h"
#include "text/language.h"

namespace zemuc::lsp {

struct CompilerFinding {
  std::size_t line = 0;    // of the source, from 1; 0 when it names none
  std::size_t column = 0;  // a byte of the Shift-JIS line, from 1; 0: none
  bool error = true;       // it stops the build; else likely unmeant
  std::string text;        // UTF-8
  bool operator==(const CompilerFinding&) const = default;
};

// The program and the compiler's copy of its C in `frame`: the frame that
// `zemuc build` makes it in, since the checks there stand in for some of
// the C library's functions and so change what the compiler says.
struct BuildInput {
  Program program;
  CompilerCopy copy;
  zemuc::Frame frame;
};

// The translation of the Shift-JIS `sjis_source` made under `source_name`,
// as `zemuc run` makes it, and its copy in `frame`. Nothing when it does
// not translate: the translator's own message is what the learner is told
// then, and the check tells of that line.
std::optional<BuildInput> build_input(std::string source_name,
                                      std::string_view sjis_source,
                                      zemuc::Frame frame);

// What `output`, the compiler's on a build of `input.copy` that failed or
// not, says of the program, each once, by line.
std::vector<CompilerFinding> compiler_findings(const BuildInput& input,
                                               std::string_view output,
                                               bool failed, Language language);

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_COMPILER_FINDINGS_H_
