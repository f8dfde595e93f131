#include "explain/wording.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "check/problems.h"
#include "explain/names.h"
#include "explain/wording_rows.h"
#include "lexer/sjis_texts.h"
#include "text/encoding.h"
#include "text/words.h"

namespace zemuc::explain {
namespace {

// The plain sentences, UTF-8.
constexpr Text kMissingSemicolon = {
    "行の終わりに ; がありません。文の終わりには ; を書きます",
    "a ; is missing at the end of this line: a statement ends with ;"};
constexpr Text kNotAVariable = {
    "{name} は変数ではありません。変数の名前は 数 (数を入れるとき) か 字 "
    "(文字を入れるとき) で始めます: 数{name} や 字{name} のように",
    "{name} is not a variable: a variable's name begins with 数 (for a "
    "number) or 字 (for a text), as in 数{name} or 字{name}"};
// 読む and 読みきり of a file no 開く opened leave their C half written,
// which the compiler tells of as the line buffer the translator declares.
constexpr Text kReadFileNotOpened = {
    "{file} は 開く で開いたファイルではありません。読む前に "
    "開く({file},\"ファイル名\",r) で開いてください",
    "{file} is not a file opened with 開く: open it with "
    "開く({file},\"file\",r) before reading it"};
constexpr Text kReadNoFile = {
    "読むファイルの名前がありません。開く(入力,\"ファイル名\",r) "
    "で付けた名前を書いてください",
    "no file to read is named here: write the name given in "
    "開く(入力,\"file\",r)"};
constexpr Text kKeywordAsLabel = {
    "見る( のすぐ後に変数を書くと、見る が見出しの場所に入ります。見出しを先に"
    "書いてください: 見る(\"見出し\",数a)",
    "a variable right after 見る( makes 見る itself its label: write a label "
    "first, as in 見る(\"label\",数a)"};
// 見る takes a label and a variable in turn: a variable where a label goes
// is written into the C as it is.
constexpr Text kVariableAsLabel = {
    "{name} は見出しの場所にあります。見る は見出し (\"…\" の文字) と変数を"
    "組にして並べます: 見る(\"見出し\",{name})",
    "{name} stands where a label goes: 見る takes a label (a text in \"…\") "
    "before each variable, as in 見る(\"label\",{name})"};
constexpr Text kKeywordGlued = {
    "{name} は {keyword} で始まりますが文ではありません。{keyword} の後には ( "
    "を書きます: {keyword}(...)",
    "{name} begins with {keyword} but is no statement: write {keyword}(...)"};
// A keyword with a blank or a text after it instead of its (: the line is
// no statement, and its C holds the keyword as a name.
constexpr Text kKeywordAlone = {
    "{keyword} のすぐ後に ( がないので、文として読まれません。{keyword}(...) "
    "と書いてください",
    "{keyword} has no ( right after it, so it is no statement: write "
    "{keyword}(...)"};
constexpr Text kUnknownFunction = {
    "{name} という文も関数もありません。文の名前を打ち間違えていませんか "
    "(見る 打つ くり返し 開く 閉じる 読む 書く 読みきり)",
    "there is no statement or function named {name}: is a statement "
    "mistyped? (見る 打つ くり返し 開く 閉じる 読む 書く 読みきり)"};
constexpr Text kOverlapHere = {
    "ここで渡す二つの文字はメモリーの同じ所にあるので、正しく写せません。写す"
    "先と写す元は別の変数にしてください",
    "two of the texts given here are the same place in memory and cannot be "
    "copied right: copy from and to different variables"};
constexpr Text kFullWidth = {
    "{character} は全角の文字で、C では読めません。半角の {ascii} "
    "で書いてください",
    "{character} is a full-width character, which C does not read: write "
    "the half-width {ascii}"};
constexpr Text kStray = {
    "{character} はここには書けません。\" の外では、C は名前と数と C "
    "の記号しか読みません",
    "{character} cannot stand here: outside quotes, C reads only names, "
    "numbers and its own signs"};

// Whether a name, UTF-8, is spelled as a variable of the learner's: it
// begins with 数 or 字.
bool variable_spelling(std::string_view name) {
  return name.starts_with(utf8(sjis::kNumericMark)) ||
         name.starts_with(utf8(sjis::kStringMark));
}

// The keyword, UTF-8, that a name begins with; empty for none.
std::string keyword_at_start(std::string_view name) {
  for (const std::string_view keyword :
       {sjis::kReadAll, sjis::kRepeat, sjis::kDisplay, sjis::kInput,
        sjis::kBegin, sjis::kOpen, sjis::kClose, sjis::kRead, sjis::kWrite,
        sjis::kEnd}) {
    const std::string word = utf8(keyword);
    if (name.starts_with(word)) return word;
  }
  return {};
}

// A full-width form of an ASCII character (U+FF01..U+FF5E) or the
// full-width space, in `text`; with the ASCII character it stands for.
std::optional<std::pair<std::string, std::string>> full_width_in(
    std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::string_view rest = text.substr(i);
    const std::size_t length = character_length(rest, Encoding::kUtf8);
    const char32_t code = length == 3 ? code_point(rest) : 0;
    if (code == U'\u3000') {
      return std::pair{std::string(rest.substr(0, 3)), std::string(" ")};
    }
    if (code >= 0xFF01 && code <= 0xFF5E) {
      return std::pair{std::string(rest.substr(0, 3)),
                       std::string(1, static_cast<char>(code - 0xFF00 + 0x20))};
    }
    i += length;
  }
  return std::nullopt;
}

// The character of the source line at the place, UTF-8.
std::string character_at(const Program& program, const SourcePlace& place) {
  const std::string_view raw = program.line(place.line).raw;
  std::size_t offset = 0;
  for (std::size_t c = 1; c < place.column && offset < raw.size(); ++c) {
    offset += character_length(raw.substr(offset), Encoding::kShiftJis);
  }
  const std::string_view rest = raw.substr(offset);
  return utf8(rest.substr(0, character_length(rest, Encoding::kShiftJis)));
}

// The character a message names, UTF-8: in quotes, as clang's <U+FF08>, or
// where gcc's "stray" character stands.
std::string character_named(const Reading& r) {
  const std::string_view text = r.message.text;
  // gcc's "stray '\343'" names a byte of the character, in octal.
  if (std::string word = quoted(text);
      !word.empty() && !(word.size() > 1 && word[0] == '\\')) {
    return word;
  }
  if (const std::size_t at = text.find("<U+"); at != std::string_view::npos) {
    const std::size_t close = text.find('>', at);
    return decode_character_names(
        "\\u" + std::string(text.substr(at + 3, close - at - 3)));
  }
  if (text.starts_with("stray ") ||
      text.find("Unicode character") != std::string_view::npos) {
    return character_at(r.program, *r.place);
  }
  return {};
}

// The first operand of a statement, UTF-8: what stands between its '(' and
// the ',' or ')' after it.
std::string first_operand(const SourceLine& line) {
  const std::string_view rest =
      std::string_view(line.squeezed).substr(line.keyword_offset);
  const std::size_t open = rest.find('(');
  if (open == std::string_view::npos) return {};
  const std::size_t end = rest.find_first_of(",)", open + 1);
  if (end == std::string_view::npos) return {};
  return utf8(trimmed(rest.substr(open + 1, end - open - 1)));
}

// main missing: no はじめ, as the check says it.
void no_main(const Reading& r, Told& told) {
  told.text =
      fill(check::problem_row(check::Problem::kBeginMissing).shape.build,
           r.language, {});
}

void unknown_function(const Reading& r, Told& told) {
  name(r, told, kUnknownFunction, {{"name", r.message.undefined}});
  point_at(r, told, r.message.undefined);
}

void full_width(const Reading& r, Told& told) {
  const auto wide = full_width_in(character_named(r));
  name(r, told, kFullWidth,
       {{"character", wide->first}, {"ascii", wide->second}});
  point_at(r, told, wide->first, false);
}

void stray(const Reading& r, Told& told) {
  const std::string character = character_named(r);
  if (character.empty()) return;
  name(r, told, kStray, {{"character", character}});
}

// A 読む or 読みきり line whose file was never opened: the C it left out
// closed main early, so that the lines after it stand outside main.
bool read_unopened(const Reading& r, Told& told) {
  const SourceLine& line = r.program.line(r.place->line);
  if (line.keyword != Keyword::kRead && line.keyword != Keyword::kReadAll) {
    return false;
  }
  const std::string file = first_operand(line);
  told.closes_main = true;
  if (file.empty()) {
    name(r, told, kReadNoFile, {});
  } else {
    name(r, told, kReadFileNotOpened, {{"file", file}});
    point_at(r, told, file);
  }
  return true;
}

// The line buffer undeclared on such a line.
bool reads_unopened_file(const Reading& r, std::string_view word, Told& told) {
  const auto buffer = learner_name(r.program, word);
  if (!buffer || buffer->kind != LearnerName::Kind::kLineBuffer) return false;
  return read_unopened(r, told);
}

// The label at main's end that the C of such a line jumps to, left
// outside main: tcc's first error, and so its only one.
void end_label_missing(const Reading& r, Told& told) { read_unopened(r, told); }

void undeclared(const Reading& r, Told& told) {
  const std::string word = quoted(r.message.text);
  if (reads_unopened_file(r, word, told)) return;
  const std::string keyword = keyword_at_start(word);
  const bool display =
      r.program.line(r.place->line).keyword == Keyword::kDisplay;
  if (display && word == utf8(sjis::kDisplay)) {
    name(r, told, kKeywordAsLabel, {});
  } else if (display && variable_spelling(word)) {
    name(r, told, kVariableAsLabel, {{"name", word}});
  } else if (!keyword.empty() && word == keyword) {
    name(r, told, kKeywordAlone, {{"keyword", keyword}});
  } else if (!keyword.empty()) {
    name(r, told, kKeywordGlued, {{"name", word}, {"keyword", keyword}});
  } else {
    name(r, told, kNotAVariable, {{"name", word}});
  }
  point_at(r, told, word);
}

// tcc's "';' expected (got "printf")", and gcc's "expected ';' before
// 'printf'" where it is placed at the token after the one missing it (as
// gcc 9 and 10 place it), stand on the line after the one missing it: at
// the end of the learner's line before, when there is one.
void semicolon_before(const Reading& r, Told& told) {
  const std::size_t before = line_before(r.program, r.place->line);
  if (before == 0) return;
  told.line = before;
  told.column = end_column(r.program, before);
  name(r, told, kMissingSemicolon, {});
}

// What a row needs besides its words.
enum class Needs {
  kNothing,
  kMainMissing,  // the linker missing main: the only row for no line
  kUndefined,    // a name the linker did not find
  kLineEnd,      // the place after the last token of the line
  kLineStart,    // the place of the first token of the line
  kFullWidth,    // a full-width character named
  kQuotedWord,   // a word in quotes
  kWarning,      // a warning, not an error
  kElseLine,     // a line that is an else
  // A warning with a note that names a variable declared without a value:
  // whatever the analyser's words for its use, that is the finding.
  kDeclaredWithoutValue,
};

// Words a message holds, or starts with.
struct Pattern {
  std::string_view words;
  bool at_start = false;
};

struct Wording {
  std::array<Pattern, 4> any_of;  // none: what the row needs decides
  Needs needs;
  Text sentence;  // for a row that needs nothing from the line
  void (*from_line)(const Reading&, Told&) = nullptr;
};

// In order: the first row that fits says the message.
constexpr std::array kWordings = {
    Wording{{}, Needs::kMainMissing, {}, no_main},
    Wording{{}, Needs::kUndefined, {}, unknown_function},
    Wording{{{{"expected ';'", true}}}, Needs::kLineEnd, kMissingSemicolon},
    Wording{{{{"expected ';' before", true}}},
            Needs::kLineStart,
            {},
            semicolon_before},
    Wording{{{{"';' expected (got ", true}}},
            Needs::kNothing,
            {},
            semicolon_before},
    Wording{{{{"' expected (got "}}}, Needs::kQuotedWord, {}, missing_sign},
    Wording{{{{"identifier expected", true}}},
            Needs::kNothing,
            {},
            value_missing_late},
    Wording{{}, Needs::kFullWidth, {}, full_width},
    Wording{{{{"stray '", true}, {"unexpected character", true}}},
            Needs::kNothing,
            {},
            stray},
    Wording{{{{"expected expression", true}}},
            Needs::kElseLine,
            {},
            else_without_if},
    Wording{{{{"expected '", true}}}, Needs::kQuotedWord, {}, missing_sign},
    Wording{
        {{{"expected expression", true}}}, Needs::kNothing, {}, missing_value},
    Wording{
        {{{"' without a previous '"}}}, Needs::kQuotedWord, {}, without_before},
    Wording{
        {{{"too few arguments to function", true}}},
        Needs::kNothing,
        {"ここで呼ぶ関数に渡す値が足りません。受け取る値を全部 , "
         "で区切って書きます",
         "too few values are given to the function called here: give it each "
         "value it takes, between commas"}},
    Wording{
        {{{"too many arguments to function", true}}},
        Needs::kNothing,
        {"ここで呼ぶ関数に渡す値が多すぎます。受け取る数だけ値を書きます",
         "too many values are given to the function called here: give it only "
         "the values it takes"}},
    Wording{
        {{{"lvalue required as left operand of assignment"},
          {"expression is not assignable", true}}},
        Needs::kNothing,
        {"= の左が変数ではありません。= は右の値を左の変数に入れます: 数a=5; "
         "のように。比べるときは == と書きます",
         "the left of = is not a variable: = puts the value on its right into "
         "the variable on its left, as in 数a=5;. To compare two values, write "
         "=="}},
    Wording{{{{"label 'ERROR_END' used but not defined", true}}},
            Needs::kNothing,
            {},
            end_label_missing},
    Wording{{{{"' undeclared"}, {"use of undeclared identifier", true}}},
            Needs::kQuotedWord,
            {},
            undeclared},
    Wording{
        {{{"makes pointer from integer"}, {"incompatible integer to pointer"}}},
        Needs::kNothing,
        {},
        number_into_text},
    Wording{
        {{{"makes integer from pointer"}, {"incompatible pointer to integer"}}},
        Needs::kNothing,
        {},
        text_into_number},
    Wording{{{{"into a region of size"}, {"will always overflow"}}},
            Needs::kNothing,
            {},
            writes_past},
    Wording{{{{"'restrict'-qualified parameter aliases"}}},
            Needs::kNothing,
            kOverlapHere},
    Wording{{{{"is used uninitialized"}, {"is uninitialized when used"}}},
            Needs::kWarning,
            {},
            used_before_value},
    Wording{{{{"[-Wconditional-uninitialized]"}}},
            Needs::kWarning,
            {},
            used_in_loop},
    Wording{
        {{{"may be used uninitialized"}, {"may be uninitialized when used"}}},
        Needs::kWarning,
        {},
        may_be_used_before_value},
    Wording{{}, Needs::kDeclaredWithoutValue, {}, garbage_value},
};

bool holds(const Wording& row, std::string_view text) {
  bool none = true;
  for (const Pattern& pattern : row.any_of) {
    if (pattern.words.empty()) continue;
    none = false;
    if (pattern.at_start ? text.starts_with(pattern.words)
                         : text.find(pattern.words) != std::string_view::npos) {
      return true;
    }
  }
  return none;
}

bool needs_met(Needs needs, const Reading& r) {
  const CompilerMessage& message = r.message;
  if (needs == Needs::kMainMissing) return message.undefined == "main";
  if (r.place == nullptr) return false;
  switch (needs) {
    case Needs::kUndefined:
      return !message.undefined.empty();
    case Needs::kLineEnd:
      return r.place->at_end;
    case Needs::kLineStart:
      return !r.place->at_end &&
             r.place->column == statement_column(r.program, r.place->line);
    case Needs::kFullWidth:
      return full_width_in(character_named(r)).has_value();
    case Needs::kQuotedWord:
      return !quoted(message.text).empty();
    case Needs::kWarning:
      return message.severity == Severity::kWarning;
    case Needs::kElseLine:
      return else_line(r);
    case Needs::kDeclaredWithoutValue:
      return message.severity == Severity::kWarning &&
             !declared_without_value(message).empty();
    default:
      return true;
  }
}

}  // namespace

std::string quoted(std::string_view text) {
  const std::size_t open = text.find_first_of("'\"");
  if (open == std::string_view::npos) return {};
  const std::size_t close = text.find(text[open], open + 1);
  if (close == std::string_view::npos) return {};
  return std::string(text.substr(open + 1, close - open - 1));
}

std::string utf8(std::string_view sjis) {
  return convert_text(sjis, Encoding::kShiftJis, Encoding::kUtf8);
}

void name(const Reading& r, Told& told, const Text& text,
          std::initializer_list<NamedArg> args) {
  told.text = fill(text, r.language, std::span(args.begin(), args.size()));
  told.plain = true;
}

void point_at(const Reading& r, Told& told, std::string_view utf8_word,
              bool whole) {
  if (const std::optional<std::string> word =
          convert_all(utf8_word, Encoding::kUtf8, Encoding::kShiftJis)) {
    if (const std::size_t column =
            word_column(r.program, told.line, *word, whole)) {
      told.column = column;
    }
  }
}

void phrase(const Reading& reading, Told& told) {
  for (const Wording& row : kWordings) {
    if (!holds(row, reading.message.text) || !needs_met(row.needs, reading)) {
      continue;
    }
    if (row.from_line != nullptr) {
      row.from_line(reading, told);
    } else {
      name(reading, told, row.sentence, {});
    }
    return;
  }
}

}  // namespace zemuc::explain
