#include "explain/place.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "check/c_regions.h"
#include "explain/names.h"
#include "text/columns.h"
#include "text/encoding.h"

namespace zemuc::explain {
namespace {

struct CToken {
  std::size_t begin;
  std::size_t end;
};

std::size_t char_at(std::string_view text, std::size_t i) {
  return character_length(text.substr(i), Encoding::kShiftJis);
}

// The tokens of a line's C text, as far as places need them: words (with
// the Shift-JIS characters in them), literals whole, and every other
// character that is not blank on its own. Comments count as blanks.
std::vector<CToken> c_tokens(std::string_view text) {
  std::vector<CToken> tokens;
  bool in_word = false;
  for (const check::CSpan& span : check::c_spans(text)) {
    const char c = text[span.begin];
    const bool code = span.region == check::Region::kCode;
    const bool word = code && is_word_byte(c);
    if (word && in_word) {
      tokens.back().end = span.end;
    } else if (span.region == check::Region::kLiteral ||
               (code && c != ' ' && c != '\t' && c != '\n' && c != '\r')) {
      tokens.push_back({span.begin, span.end});
    }
    in_word = word;
  }
  return tokens;
}

// The token as the source spells it: a C name the translation gave as the
// learner's name, anything else as it is.
std::string spelling(const Program& program, std::string_view token) {
  if (const std::optional<LearnerName> name = learner_name(program, token);
      name && !name->sjis.empty()) {
    return name->sjis;
  }
  return std::string(token);
}

// Where the `nth` (from 0) occurrence of `word` stands in `text` as a word
// of its own, at a character's start; the first when there are fewer.
std::optional<std::size_t> find_word(std::string_view text,
                                     std::string_view word, std::size_t nth,
                                     bool whole = true) {
  if (word.empty()) return std::nullopt;
  std::optional<std::size_t> first;
  bool previous_word = false;
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += char_at(text, i)) {
    if (text.substr(i).starts_with(word)) {
      const std::size_t after = i + word.size();
      const bool open_before =
          !whole || !(is_word_byte(word.front()) && previous_word);
      const bool open_after =
          !whole || !(is_word_byte(word.back()) && after < text.size() &&
                      is_word_byte(text[after]));
      if (open_before && open_after) {
        if (count++ == nth) return i;
        if (!first) first = i;
      }
    }
    previous_word = is_word_byte(text[i]);
  }
  return first;
}

std::size_t column_of_raw(const SourceLine& line, std::size_t raw_offset) {
  return ColumnWalker(line.raw).column_at(raw_offset);
}

std::size_t column_of_squeezed(const SourceLine& line, std::size_t offset) {
  const std::size_t raw = offset < line.raw_offsets.size()
                              ? line.raw_offsets[offset]
                              : line.raw.size();
  return column_of_raw(line, raw);
}

// The compiler's place mapped back to the source or the frame, or the other
// file it names.
std::optional<SourcePlace> mapped_place(const Program& program,
                                        const CopyMap& map,
                                        const CompilerMessage& message,
                                        MessagePlace& out) {
  if (message.file.empty()) return std::nullopt;
  if (names_file(message.file, kFrameName)) {
    SourcePlace place;
    place.frame = true;
    return place;
  }
  if (!names_file(message.file, program.source_name())) {
    out.file = message.file;
    out.line = message.line;
    out.column = message.column;
    return std::nullopt;
  }
  if (message.line == 0) return std::nullopt;
  const std::optional<std::size_t> offset =
      map.find(CopyMap::File::kSource, message.line, message.column);
  if (!offset) return std::nullopt;
  SourcePlace place = place_of(program, *offset);
  if (place.line == 0) return std::nullopt;
  if (message.column == 0) {
    place.column = statement_column(program, place.line);
    place.at_end = false;
  }
  return place;
}

// Where `word` first stands in the line as code, not in a text in quotes
// or a comment.
std::optional<std::size_t> code_word(const SourceLine& line,
                                     std::string_view word) {
  std::vector<check::Region> regions;
  check::mark_regions(line.squeezed, false, regions);
  const std::optional<std::size_t> first = find_word(line.squeezed, word, 0);
  for (std::size_t nth = 0;; ++nth) {
    const std::optional<std::size_t> at = find_word(line.squeezed, word, nth);
    if (!at || (nth > 0 && *at == *first)) return std::nullopt;
    if (*at < regions.size() && regions[*at] == check::Region::kCode) {
      return at;
    }
  }
}

// The first learner's line that holds the name the linker did not find,
// where it stands as code.
std::optional<SourcePlace> line_naming(const Program& program,
                                       std::string_view utf8_name) {
  const std::optional<std::string> word =
      convert_all(utf8_name, Encoding::kUtf8, Encoding::kShiftJis);
  if (!word) return std::nullopt;
  for (std::size_t n = 1; n <= program.line_count(); ++n) {
    const SourceLine& line = program.line(n);
    if (line.frame()) continue;
    if (const std::optional<std::size_t> at = code_word(line, *word)) {
      SourcePlace found;
      found.line = n;
      found.column = column_of_squeezed(line, *at);
      return found;
    }
  }
  return std::nullopt;
}

}  // namespace

MessagePlace place_message(const Program& program, const CopyMap& map,
                           const CompilerMessage& message) {
  MessagePlace place;
  if (message.undefined == "main") {
    place.whole_program = true;
    return place;
  }
  place.source = mapped_place(program, map, message, place);
  // A linker that no debug information guides names an object file: the
  // name it misses is looked for in the learner's lines.
  if (!place.source && !message.undefined.empty()) {
    place.file.clear();
    place.source = line_naming(program, message.undefined);
    place.whole_program = !place.source;
  }
  if (place.learner_line()) {
    const std::size_t n = place.source->line;
    place.in_statement = program.line(n).keyword != Keyword::kNone &&
                         place.source->column >= statement_column(program, n);
  }
  return place;
}

std::size_t statement_column(const Program& program, std::size_t n) {
  const SourceLine& line = program.line(n);
  if (line.keyword != Keyword::kNone) {
    return column_of_squeezed(line, line.keyword_offset);
  }
  const std::size_t first = line.raw.find_first_not_of(" \t");
  return column_of_raw(line,
                       first == std::string::npos ? line.raw.size() : first);
}

std::size_t word_column(const Program& program, std::size_t n,
                        std::string_view sjis_word, bool whole) {
  const SourceLine& line = program.line(n);
  const std::optional<std::size_t> at =
      find_word(line.squeezed, sjis_word, 0, whole);
  return at ? column_of_squeezed(line, *at) : 0;
}

std::size_t end_column(const Program& program, std::size_t n) {
  const SourceLine& line = program.line(n);
  std::string_view text = line.squeezed;
  // The statement ends before its ';' or the line end.
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == ';' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  if (text.empty()) return statement_column(program, n);
  const std::size_t last = text.size() - 1;
  const std::size_t raw = last < line.raw_offsets.size()
                              ? line.raw_offsets[last]
                              : line.raw.size() - 1;
  return column_of_raw(line, raw + char_at(line.raw, raw));
}

SourcePlace place_of(const Program& program, std::size_t c_offset) {
  SourcePlace place;
  place.line = program.line_at(c_offset);
  if (place.line == 0) return place;
  const std::size_t n = place.line;
  place.frame = program.line(n).frame();
  const std::string_view text =
      std::string_view(program.c_text())
          .substr(program.c_begin(n), program.c_end(n) - program.c_begin(n));
  const std::size_t local =
      std::min(c_offset - std::min(c_offset, program.c_begin(n)), text.size());
  const std::vector<CToken> tokens = c_tokens(text);
  const auto at =
      std::find_if(tokens.begin(), tokens.end(),
                   [local](const CToken& t) { return local < t.end; });
  if (at == tokens.end()) {
    place.column = end_column(program, n);
    place.at_end = true;
    return place;
  }
  const std::string_view token = text.substr(at->begin, at->end - at->begin);
  const std::string word = spelling(program, token);
  std::size_t nth = 0;
  for (auto t = tokens.begin(); t != at; ++t) {
    if (spelling(program, text.substr(t->begin, t->end - t->begin)) == word) {
      ++nth;
    }
  }
  const SourceLine& line = program.line(n);
  const std::optional<std::size_t> found = find_word(line.squeezed, word, nth);
  place.column =
      found ? column_of_squeezed(line, *found) : statement_column(program, n);
  return place;
}

}  // namespace zemuc::explain
