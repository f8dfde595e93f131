// zemuc's messages to the user, in the locale's language and the
// terminal's encoding, handed to a writer: zemuc's writes standard error,
// the playground's keeps them for its answer.
#ifndef ZEMUC_FRONT_REPORTER_H_
#define ZEMUC_FRONT_REPORTER_H_

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "text/encoding.h"
#include "text/language.h"  // Text

namespace zemuc {

// A file that cannot be written: its name, and why.
inline constexpr Text kCannotWrite = {"{} を書けません: {}",
                                      "cannot write {}: {}"};

class Reporter {
 public:
  using Writer = std::function<void(std::string_view)>;
  Reporter(Language language, Encoding terminal, Writer writer);

  Language language() const { return language_; }
  Encoding terminal() const { return terminal_; }

  // "zemuc: TEXT" and a line end.
  void error(Text text, std::initializer_list<std::string_view> args = {});
  void error(Text text, std::span<const std::string> args);
  // "FILE:LINE:COLUMN: error: TEXT" and a line end; a column of 0 is left
  // out.
  void error_at(std::string_view file, std::size_t line, std::size_t column,
                Text text, std::initializer_list<std::string_view> args = {});
  // Bytes already in the terminal's encoding.
  void write(std::string_view bytes);
  // The text in the language and the terminal's encoding, arguments filled.
  std::string format(Text text,
                     std::initializer_list<std::string_view> args) const;
  std::string format(Text text, std::span<const std::string_view> args) const;

 private:
  Language language_;
  Encoding terminal_;
  Writer writer_;
};

}  // namespace zemuc

#endif  // ZEMUC_FRONT_REPORTER_H_
