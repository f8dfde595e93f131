// What a C compiler and its linker say, read into messages: gcc's and
// clang's `FILE:LINE:COLUMN: error: TEXT`, and the linkers' undefined
// references with the line that debug information names.
#ifndef ZEMUC_MESSAGES_H_
#define ZEMUC_MESSAGES_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zemuc::explain {

enum class Severity { kError, kWarning, kNote };

struct CompilerMessage {
  Severity severity = Severity::kError;
  std::string file;        // as the tool names it; empty when it names none
  std::size_t line = 0;    // 0 when it names none
  std::size_t column = 0;  // in bytes, from 1; 0 when it names none
  std::string text;        // the tool's words, its \uXXXX names as UTF-8
  bool from_linker = false;
  // For an undefined reference: the name the linker did not find.
  std::string undefined;
  // The texts of the notes that follow it, which say more of it: clang's
  // analyser names the variable whose value a finding lacks only in one.
  std::vector<std::string> notes;
};

// The messages of the output, in order, each note also among the notes of
// the message before it that is no note. What only shows or sums them up
// (source lines and carets, "In function", "N errors generated", the
// drivers' closing lines about the linker's status) is left out; a line
// that is none of these and no message becomes an error without a place,
// so that nothing the compiler said is lost.
std::vector<CompilerMessage> parse_compiler_output(std::string_view output);

// `text` with each universal character name (\uXXXX, \UXXXXXXXX) as the
// UTF-8 of its character: gcc writes non-ASCII names so in the C locale.
std::string decode_character_names(std::string_view text);

}  // namespace zemuc::explain

#endif  // ZEMUC_MESSAGES_H_
