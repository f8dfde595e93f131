// The rows of the wordings for C's own grammar that read the message or
// the line: a sign missing, a value missing, an else without its if.
#include <string>
#include <string_view>
#include <vector>

#include "explain/wording_rows.h"
#include "text/words.h"

namespace zemuc::explain {
namespace {

constexpr Text kMissingClose = {
    "ここに ) がありません。( には、それを閉じる ) が要ります",
    "a ) is missing here: each ( needs a ) that closes it"};
constexpr Text kMissingCloseBefore = {
    "{before} の前に ) がありません。( には、それを閉じる ) が要ります",
    "a ) is missing before {before}: each ( needs a ) that closes it"};
constexpr Text kMissingSign = {"ここに {sign} がありません",
                               "a {sign} is missing here"};
constexpr Text kMissingSignBefore = {"{before} の前に {sign} がありません",
                                     "a {sign} is missing before {before}"};
constexpr Text kMissingValue = {
    "ここに値がありません。数か変数か式を書きます",
    "a value is missing here: write a number, a variable or a calculation"};
constexpr Text kElseWithoutIf = {
    "この else の前に if がありません。else は if の {{ }} を閉じる }} "
    "のすぐ後に書きます",
    "this else has no if before it: an else goes right after the }} that "
    "closes the block of an if"};
constexpr Text kWithoutBefore = {"この {word} の前に {before} がありません",
                                 "this {word} has no {before} before it"};

// The words between each pair of quotes of `text`, in order.
std::vector<std::string> quoted_words(std::string_view text) {
  std::vector<std::string> words;
  while (true) {
    const std::size_t open = text.find_first_of("'\"");
    if (open == std::string_view::npos) return words;
    const std::size_t close = text.find(text[open], open + 1);
    if (close == std::string_view::npos) return words;
    words.emplace_back(text.substr(open + 1, close - open - 1));
    text.remove_prefix(close + 1);
  }
}

}  // namespace

std::size_t line_before(const Program& program, std::size_t line) {
  std::size_t before = line;
  while (--before > 0 && (program.line(before).frame() ||
                          trimmed(program.line(before).raw).empty())) {
  }
  return before;
}

bool else_line(const Reading& r) {
  std::string_view line = trimmed(r.program.line(r.place->line).raw);
  while (line.starts_with('}')) line = trimmed(line.substr(1));
  return line.starts_with("else");
}

// The word before which gcc expected the sign is said as the learner
// wrote it: a statement's C as its keyword.
void missing_sign(const Reading& r, Told& told) {
  const std::vector<std::string> words = quoted_words(told.text);
  const bool close = words.front() == ")";
  if (words.size() < 2) {
    name(r, told, close ? kMissingClose : kMissingSign,
         {{"sign", words.front()}});
  } else {
    name(r, told, close ? kMissingCloseBefore : kMissingSignBefore,
         {{"sign", words.front()}, {"before", words[1]}});
  }
  told.follows_others = true;
}

void missing_value(const Reading& r, Told& told) {
  name(r, told, kMissingValue, {});
  told.follows_others = true;
}

// Whether the line's C ends where a value was still to come: after a sign
// of calculation, a comma or a (, before any ; or ) that ends it.
bool ends_lacking_value(const SourceLine& line) {
  std::string_view text = trimmed(line.squeezed);
  if (text.ends_with(';')) text = trimmed(text.substr(0, text.size() - 1));
  if (text.ends_with(')')) text = trimmed(text.substr(0, text.size() - 1));
  return !text.empty() && std::string_view("+-*/%=<>&|!,(").find(text.back()) !=
                              std::string_view::npos;
}

// tcc's "identifier expected" stands on the line of the token after the one
// it could not read: when that one ends the line before, which lacks a
// value at its end, it is told there.
void value_missing_late(const Reading& r, Told& told) {
  const std::size_t before = line_before(r.program, r.place->line);
  if (before > 0 && !ends_lacking_value(r.program.line(r.place->line)) &&
      ends_lacking_value(r.program.line(before))) {
    told.line = before;
    told.column = end_column(r.program, before);
  }
  missing_value(r, told);
}

// The braces of a line, outside quotes, from its end to its start: each
// } one block deeper, each { one out; a { that opens a block around the
// line we came from tells whether it is a loop's.
bool inside_loop(const Program& program, std::size_t line) {
  std::size_t depth = 0;
  for (std::size_t n = line; n > 0 && !program.line(n).frame(); --n) {
    const SourceLine& source = program.line(n);
    const std::string_view text = trimmed(source.squeezed);
    bool quoted = false;
    for (std::size_t i = text.size(); i-- > 0;) {
      if (text[i] == '"') quoted = !quoted;
      if (quoted || (text[i] != '{' && text[i] != '}')) continue;
      if (text[i] == '}') {
        ++depth;
      } else if (depth > 0) {
        --depth;
      } else if (source.keyword == Keyword::kRepeat ||
                 text.starts_with("while") || text.starts_with("for") ||
                 text.starts_with("do")) {
        return true;
      }
    }
  }
  return false;
}

void else_without_if(const Reading& r, Told& told) {
  name(r, told, kElseWithoutIf, {});
  point_at(r, told, "else", false);
}

void without_before(const Reading& r, Told& told) {
  const std::vector<std::string> words = quoted_words(r.message.text);
  if (words.size() < 2) return;
  if (words[0] == "else" && words[1] == "if") {
    else_without_if(r, told);
    return;
  }
  name(r, told, kWithoutBefore, {{"word", words[0]}, {"before", words[1]}});
}

}  // namespace zemuc::explain
