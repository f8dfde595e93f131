#include "explain/names.h"

#include <algorithm>

#include "explain/place.h"
#include "symbols/c_names.h"
#include "text/encoding.h"
#include "text/words.h"

namespace zemuc::explain {
namespace {

// Whether `word` stands in `c` as a word of its own.
bool holds_word(std::string_view c, std::string_view word) {
  for (std::size_t at = c.find(word); at != std::string_view::npos;
       at = c.find(word, at + 1)) {
    const bool starts = at == 0 || !is_word_byte(c[at - 1]);
    const std::size_t after = at + word.size();
    if (starts && (after == c.size() || !is_word_byte(c[after]))) return true;
  }
  return false;
}

// The keyword, UTF-8, of the statement on `line` or the next line whose
// C holds the C word `word` that the learner's `line` does not; empty
// when there is none.
std::string keyword_writing(const Program& program, std::string_view word,
                            std::size_t line) {
  if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) {
        return is_word_byte(c) && static_cast<unsigned char>(c) < 0x80;
      })) {
    return {};
  }
  if (word_column(program, line, word) != 0) return {};
  for (const std::size_t n : {line, line + 1}) {
    if (n > program.line_count()) break;
    const SourceLine& source = program.line(n);
    if (source.keyword == Keyword::kNone || source.frame()) continue;
    if (holds_word(program.translation().c_text_of(n), word)) {
      return convert_text(keyword_spelling(source.keyword), Encoding::kShiftJis,
                          Encoding::kUtf8);
    }
  }
  return {};
}

}  // namespace

std::optional<LearnerName> learner_name(const Program& program,
                                        std::string_view c_name) {
  if (c_name == "dummy") {
    return LearnerName{LearnerName::Kind::kLineBuffer, "", 0, 0};
  }
  const std::optional<TableEntry> entry = entry_named(program.tables(), c_name);
  if (!entry) return std::nullopt;
  switch (entry->table) {
    case TableEntry::Table::kVariables:
      return LearnerName{entry->prop == kNumeric ? LearnerName::Kind::kNumber
                                                 : LearnerName::Kind::kText,
                         std::string(entry->name), 0, entry->index};
    case TableEntry::Table::kFiles:
      return LearnerName{LearnerName::Kind::kFile, std::string(entry->name), 0,
                         entry->index};
    case TableEntry::Table::kCounters:
      break;
  }
  return LearnerName{LearnerName::Kind::kCounter, "",
                     program.counter_line(entry->index), entry->index};
}

std::string said(const LearnerName& name, Language language) {
  switch (name.kind) {
    case LearnerName::Kind::kCounter:
      if (name.line == 0) {
        return fill({"くり返しの回数", "the counter of a くり返し"}, language,
                    {});
      }
      return fill(
          {"{} 行目のくり返しの回数", "the counter of the くり返し on line {}"},
          language, {std::to_string(name.line)});
    case LearnerName::Kind::kLineBuffer:
      return fill({"行を読む場所 (書き換えが用意するもの)",
                   "the line buffer the translator declares"},
                  language, {});
    default:
      return convert_text(name.sjis, Encoding::kShiftJis, Encoding::kUtf8);
  }
}

std::string rename_c_names(const Program& program, std::string_view text,
                           Language language) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!is_word_byte(text[i])) {
      out += text[i++];
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && is_word_byte(text[end])) ++end;
    const std::string_view word = text.substr(i, end - i);
    const std::optional<LearnerName> name = learner_name(program, word);
    out += name ? said(*name, language) : std::string(word);
    i = end;
  }
  return out;
}

std::string said_as_keywords(const Program& program, std::string text,
                             std::size_t line) {
  for (std::size_t open = text.find('\''); open != std::string::npos;
       open = text.find('\'', open + 1)) {
    const std::size_t close = text.find('\'', open + 1);
    if (close == std::string::npos) break;
    const std::string word = text.substr(open + 1, close - open - 1);
    const std::string keyword = keyword_writing(program, word, line);
    if (!keyword.empty()) {
      text.replace(open + 1, close - open - 1, keyword);
      open += keyword.size() + 1;
    } else {
      open = close;
    }
  }
  return text;
}

}  // namespace zemuc::explain
