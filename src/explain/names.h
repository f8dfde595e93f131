// The translator's C names said in the learner's words, through the tables
// the translation built: nn2 is 数b, cc1 字s, fp1 出力, and rep3 the counter
// of a くり返し line.
#ifndef ZEMUC_NAMES_H_
#define ZEMUC_NAMES_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "program/program.h"
#include "text/language.h"

namespace zemuc::explain {

struct LearnerName {
  enum class Kind { kNumber, kText, kFile, kCounter, kLineBuffer };
  Kind kind;
  std::string sjis;       // the name as written; empty for a counter
  std::size_t line = 0;   // for a counter, the line of its くり返し
  std::size_t index = 0;  // its place in its table
};

// The learner's name behind a C name of the translation, or nothing for a
// word that is none (a C word, a name the learner wrote in C).
std::optional<LearnerName> learner_name(const Program& program,
                                        std::string_view c_name);

// The name as a message says it, UTF-8: 数b, 出力, "the counter of the
// くり返し on line 7".
std::string said(const LearnerName& name, Language language);

// `text` (UTF-8) with every C name of the translation that stands as a word
// of its own said in the learner's words.
std::string rename_c_names(const Program& program, std::string_view text,
                           Language language);

// `text` (UTF-8) with each word in single quotes that the learner's `line`
// does not hold but the C of the statement on it or on the next line does
// said as that statement's keyword: such a word is C that a statement
// writes ("expected ')' before 'printf'" after an if not closed).
std::string said_as_keywords(const Program& program, std::string text,
                             std::size_t line);

// Whether a byte continues a C word (letters, digits, '_', and every byte
// of a character beyond ASCII).
inline bool is_word_byte(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
         (b >= '0' && b <= '9') || b == '_' || b >= 0x80;
}

}  // namespace zemuc::explain

#endif  // ZEMUC_NAMES_H_
