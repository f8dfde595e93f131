#include "explain/explain.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "check/check.h"
#include "explain/compiler_output.h"
#include "explain/names.h"
#include "explain/place.h"
#include "lexer/sjis_texts.h"
#include "text/diagnostic.h"

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
constexpr Text kKeywordGlued = {
    "{name} は {keyword} で始まりますが文ではありません。{keyword} の後には ( "
    "を書きます: {keyword}(...)",
    "{name} begins with {keyword} but is no statement: write {keyword}(...)"};
constexpr Text kUnknownFunction = {
    "{name} という文も関数もありません。文の名前を打ち間違えていませんか "
    "(見る 打つ くり返し 開く 閉じる 読む 書く 読みきり)",
    "there is no statement or function named {name}: is a statement "
    "mistyped? (見る 打つ くり返し 開く 閉じる 読む 書く 読みきり)"};
constexpr Text kNoBegin = {
    "プログラムに はじめ の行がありません。プログラムは はじめ で始めて おわり "
    "で終えます",
    "the program has no はじめ line: a program begins with はじめ and ends "
    "with おわり"};
constexpr Text kNumberIntoText = {
    "{text} は文字を入れる変数なので、数 {number} はそのままでは入りません。"
    "数を文字にして入れるには sprintf({text},\"%d\",{number}); と書きます",
    "{text} holds a text, and the number {number} cannot be put into it as "
    "it is: sprintf({text},\"%d\",{number}); writes the number as a text"};
constexpr Text kNumberForText = {"文字が要る所に数があります",
                                 "a number stands where a text is needed"};
constexpr Text kTextIntoNumber = {
    "{number} は数を入れる変数なので、文字 {text} はそのままでは入りません。"
    "数字の文字を数にするには {number}=atoi({text}); と書きます",
    "{number} holds a number, and the text {text} cannot be put into it as "
    "it is: {number}=atoi({text}); turns a text of digits into a number"};
constexpr Text kTextForNumber = {"数が要る所に文字があります",
                                 "a text stands where a number is needed"};
constexpr Text kDigitsIntoNumber = {
    "{number} は数を入れる変数なので、文字 {text} は入りません。数なら \" "
    "を付けずに {number}={digits}; と、文字なら 字 で始まる変数に "
    "字{rest}={text}; と書きます",
    "{number} holds a number, and the text {text} cannot be put into it: "
    "write the number without quotes, {number}={digits};, or keep the text "
    "in a variable that begins with 字, 字{rest}={text};"};
constexpr Text kLiteralIntoNumber = {
    "{number} は数を入れる変数なので、文字 {text} は入りません。文字は 字 "
    "で始まる変数に入れます: 字{rest}={text};",
    "{number} holds a number, and the text {text} cannot be put into it: "
    "keep the text in a variable that begins with 字, 字{rest}={text};"};
constexpr Text kTextForNumberOf = {
    "{number} は数を入れる変数ですが、= の右は文字です。数を入れるか、文字は "
    "字 で始まる変数 (字{rest} のように) に入れてください",
    "{number} holds a number, but what the = gives it is a text: give it a "
    "number, or keep the text in a variable that begins with 字, as 字{rest}"};
constexpr Text kTextTooLongHere = {
    "{name} に入る文字は {fit} バイトまでですが、ここで {size} バイトの文字を"
    "入れます",
    "{name} holds at most {fit} bytes of text, and this puts a text of {size} "
    "bytes into it"};
constexpr Text kWritesPast = {
    "ここで {size} バイトを、{fit} バイトしかない所に書きます",
    "this writes {size} bytes where only {fit} fit"};
constexpr Text kOverlapHere = {
    "ここで渡す二つの文字はメモリーの同じ所にあるので、正しく写せません。写す"
    "先と写す元は別の変数にしてください",
    "two of the texts given here are the same place in memory and cannot be "
    "copied right: copy from and to different variables"};
constexpr Text kUsedBeforeValue = {"{name} に値を入れる前に使っています",
                                   "{name} is used before it gets a value"};
constexpr Text kFullWidth = {
    "{character} は全角の文字で、C では読めません。半角の {ascii} "
    "で書いてください",
    "{character} is a full-width character, which C does not read: write "
    "the half-width {ascii}"};
constexpr Text kUnclosedBrace = {
    "{ と } が合いません: この行の { (またはその中の {) を閉じる } が"
    "ありません",
    "the braces do not pair: the { on this line, or one inside it, is never "
    "closed by a }"};
constexpr Text kExtraBrace = {
    "{ と } が合いません: この } が閉じる { がありません",
    "the braces do not pair: this } closes no {"};
// The shape of the program, as the check finds it.
constexpr Text kNoEnd = {
    "プログラムに おわり の行がありません。プログラムは はじめ で始めて おわり "
    "で終えます",
    "the program has no おわり line: a program begins with はじめ and ends "
    "with おわり"};
constexpr Text kBeginTwice = {
    "二つ目の はじめ です。はじめ は一つだけ、プログラムの最初に書きます",
    "a second はじめ: a program has one はじめ, at its start"};
constexpr Text kEndTwice = {
    "二つ目の おわり です。おわり は一つだけ、プログラムの最後に書きます",
    "a second おわり: a program has one おわり, at its end"};
constexpr Text kEndFirst = {
    "おわり が はじめ より前にあります。プログラムは はじめ で始めて おわり "
    "で終えます",
    "おわり comes before はじめ: a program begins with はじめ and ends with "
    "おわり"};
constexpr Text kLineBeforeBegin = {
    "この行は はじめ より前にあります。プログラムの行は はじめ と おわり "
    "の間に書きます",
    "this line stands before はじめ: the program's lines go between はじめ "
    "and おわり"};
constexpr Text kLineAfterEnd = {
    "この行は おわり より後ろにあります。プログラムの行は はじめ と おわり "
    "の間に書きます",
    "this line stands after おわり: the program's lines go between はじめ and "
    "おわり"};
constexpr Text kRepeatBeforeBegin = {
    "くり返し が はじめ より前にあります。くり返し は はじめ と おわり "
    "の間に書きます",
    "a くり返し before はじめ: it goes between はじめ and おわり"};
constexpr Text kCompilerSays = {"コンパイラ: {}", "the compiler: {}"};

// A message as the learner sees it.
struct Told {
  std::size_t line = 0;  // 0: no line of the source
  std::size_t column = 0;
  bool frame = false;
  bool whole_program = false;  // about the program, not one place
  bool plain = false;          // said in a sentence of its own
  Severity severity = Severity::kError;
  std::string text;  // UTF-8
  std::string file;  // for a place in another file (a header)
  // A variable used before it gets a value, as said.
  std::string value_missing;
};

std::string utf8(std::string_view sjis) {
  return convert_text(sjis, Encoding::kShiftJis, Encoding::kUtf8);
}

std::optional<std::string> sjis_of(std::string_view utf8_text) {
  return convert_all(utf8_text, Encoding::kUtf8, Encoding::kShiftJis);
}

// The name between the first pair of quotes of `text`, single or double.
std::string quoted(std::string_view text) {
  const std::size_t open = text.find_first_of("'\"");
  if (open == std::string_view::npos) return {};
  const std::size_t close = text.find(text[open], open + 1);
  if (close == std::string_view::npos) return {};
  return std::string(text.substr(open + 1, close - open - 1));
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

// Where a statement of the C text (Shift-JIS) ends: its first ';' outside
// quotes.
std::size_t statement_end(std::string_view text) {
  char quote = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (quote != 0 && c == '\\') {
      ++i;
    } else if (quote != 0 && c == quote) {
      quote = 0;
    } else if (quote == 0 && (c == '"' || c == '\'')) {
      quote = c;
    } else if (quote == 0 && c == ';') {
      return i;
    }
    if (i < text.size()) {
      i += character_length(text.substr(i), Encoding::kShiftJis);
    }
  }
  return text.size();
}

// Digits, perhaps after a sign.
bool is_number(std::string_view text) {
  if (text.starts_with('-') || text.starts_with('+')) text.remove_prefix(1);
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
}

// The number that follows `words` in `text`; 0 when none does.
std::size_t number_after(std::string_view text, std::string_view words) {
  const std::size_t at = text.find(words);
  if (at == std::string_view::npos) return 0;
  std::size_t n = 0;
  for (const char c : text.substr(at + words.size())) {
    if (c < '0' || c > '9' || n > 1'000'000'000) break;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  return n;
}

// The keywords, UTF-8, for names that begin with one.
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

std::string keyword_text(Keyword keyword) {
  for (const auto& entry : keyword_detail::kKeywords) {
    if (entry.keyword == keyword) return utf8(entry.text);
  }
  return {};
}

// A full-width form of an ASCII character (U+FF01..U+FF5E) or the
// full-width space, in `text`; with the ASCII character it stands for.
std::optional<std::pair<std::string, std::string>> full_width_in(
    std::string_view text) {
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    const unsigned char a = static_cast<unsigned char>(text[i]);
    const unsigned char b = static_cast<unsigned char>(text[i + 1]);
    const unsigned char c = static_cast<unsigned char>(text[i + 2]);
    if (a == 0xE3 && b == 0x80 && c == 0x80) {
      return std::pair{std::string(text.substr(i, 3)), std::string(" ")};
    }
    if (a == 0xEF && (b == 0xBC || b == 0xBD)) {
      const unsigned code = ((a & 0x0F) << 12) | ((b & 0x3F) << 6) | (c & 0x3F);
      if (code >= 0xFF01 && code <= 0xFF5E) {
        return std::pair{
            std::string(text.substr(i, 3)),
            std::string(1, static_cast<char>(code - 0xFF00 + 0x20))};
      }
    }
  }
  return std::nullopt;
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

class Explainer {
 public:
  Explainer(const Program& program, const CopyMap& map, Language language)
      : program_(program), map_(map), language_(language) {}

  // The message as the learner is told it; nothing for a message left out.
  std::optional<Told> explain(const CompilerMessage& message) const {
    Told told;
    told.severity = message.severity;
    std::optional<SourcePlace> place = place_of_message(message, told);
    if (message.severity == Severity::kNote) return std::nullopt;
    const bool learner_line = place && !place->frame;
    if (message.severity == Severity::kWarning && !learner_line) {
      return std::nullopt;
    }
    told.text = rename_c_names(program_, message.text, language_);
    if (place) {
      told.line = place->line;
      told.column = place->column;
      told.frame = place->frame;
    }
    if (learner_line) sentence(message, *place, told);
    if (learner_line && !told.plain) own_words(told);
    // A statement's C is the translator's, but for the learner's names
    // and texts: of its warnings only a value missing is the learner's,
    // and those about what stands before the keyword.
    if (message.severity == Severity::kWarning && !told.plain &&
        program_.line(told.line).keyword != Keyword::kNone &&
        told.column >= statement_column(program_, told.line)) {
      return std::nullopt;
    }
    if (message.undefined == "main") {
      told = Told{};
      told.whole_program = true;
      told.text = fill(kNoBegin, language_, {});
    }
    return told;
  }

 private:
  std::optional<SourcePlace> place_of_message(const CompilerMessage& message,
                                              Told& told) const {
    std::optional<SourcePlace> place = mapped_place(message, told);
    // A linker that no debug information guides names an object file: the
    // name it misses is looked for in the learner's lines.
    if (!place && !message.undefined.empty() && message.undefined != "main") {
      told.file.clear();
      if (const std::optional<std::string> word = sjis_of(message.undefined)) {
        for (std::size_t n = 1; n <= program_.line_count(); ++n) {
          if (program_.line(n).frame()) continue;
          if (const std::size_t column = word_column(program_, n, *word)) {
            SourcePlace found;
            found.line = n;
            found.column = column;
            return found;
          }
        }
      }
      told.whole_program = true;
    }
    return place;
  }

  std::optional<SourcePlace> mapped_place(const CompilerMessage& message,
                                          Told& told) const {
    if (message.file.empty()) return std::nullopt;
    if (names_file(message.file, kFrameName)) {
      SourcePlace place;
      place.frame = true;
      return place;
    }
    if (!names_file(message.file, program_.source_name())) {
      told.file = message.file;
      told.line = message.line;
      told.column = message.column;
      return std::nullopt;
    }
    if (message.line == 0) return std::nullopt;
    const std::optional<std::size_t> offset =
        map_.find(CopyMap::File::kSource, message.line, message.column);
    if (!offset) return std::nullopt;
    SourcePlace place = place_of(program_, *offset);
    if (place.line == 0) return std::nullopt;
    if (message.column == 0) {
      place.column = statement_column(program_, place.line);
      place.at_end = false;
    }
    return place;
  }

  void name(Told& told, const Text& text,
            std::initializer_list<NamedArg> args) const {
    told.text = fill(text, language_, std::span(args.begin(), args.size()));
    told.plain = true;
  }

  // Puts the caret under `utf8_word` where the line holds it, as a word
  // of its own or, with `whole` false, anywhere.
  void point_at(Told& told, std::string_view utf8_word,
                bool whole = true) const {
    if (const std::optional<std::string> word = sjis_of(utf8_word)) {
      if (const std::size_t column =
              word_column(program_, told.line, *word, whole)) {
        told.column = column;
      }
    }
  }

  void sentence(const CompilerMessage& message, const SourcePlace& place,
                Told& told) const {
    const std::string_view text = message.text;
    if (!message.undefined.empty()) {
      name(told, kUnknownFunction, {{"name", message.undefined}});
      point_at(told, message.undefined);
      return;
    }
    if (text.starts_with("expected ';'") && place.at_end) {
      name(told, kMissingSemicolon, {});
      return;
    }
    std::string undeclared;
    if (text.find("' undeclared") != std::string_view::npos) {
      undeclared = quoted(text);
    } else if (text.starts_with("use of undeclared identifier")) {
      undeclared = quoted(text);
    }
    // Whatever the message quotes may hold a full-width character.
    std::string word = undeclared.empty() ? quoted(text) : undeclared;
    if (word.empty()) {
      if (const std::size_t at = text.find("<U+");
          at != std::string_view::npos) {
        // clang names the character: "character <U+FF08> not allowed".
        const std::size_t close = text.find('>', at);
        word = decode_character_names(
            "\\u" + std::string(text.substr(at + 3, close - at - 3)));
      } else if (text.starts_with("stray ") ||
                 text.find("Unicode character") != std::string_view::npos) {
        word = character_at(place);
      }
    }
    if (const auto wide = full_width_in(word)) {
      name(told, kFullWidth,
           {{"character", wide->first}, {"ascii", wide->second}});
      point_at(told, wide->first, false);
      return;
    }
    if (!undeclared.empty() && reads_unopened_file(place, undeclared, told)) {
      return;
    }
    if (!undeclared.empty()) {
      const std::string keyword = keyword_at_start(undeclared);
      if (undeclared == utf8(sjis::kDisplay)) {
        name(told, kKeywordAsLabel, {});
      } else if (!keyword.empty()) {
        name(told, kKeywordGlued, {{"name", undeclared}, {"keyword", keyword}});
      } else {
        name(told, kNotAVariable, {{"name", undeclared}});
      }
      point_at(told, undeclared);
      return;
    }
    if (text.find("makes pointer from integer") != std::string_view::npos ||
        text.find("incompatible integer to pointer") !=
            std::string_view::npos) {
      number_into_text(place, told);
      return;
    }
    if (text.find("makes integer from pointer") != std::string_view::npos ||
        text.find("incompatible pointer to integer") !=
            std::string_view::npos) {
      text_into_number(place, told);
      return;
    }
    if (text.find("into a region of size") != std::string_view::npos ||
        text.find("will always overflow") != std::string_view::npos) {
      writes_past(text, place, told);
      return;
    }
    if (text.find("'restrict'-qualified parameter aliases") !=
        std::string_view::npos) {
      name(told, kOverlapHere, {});
      return;
    }
    if (message.severity == Severity::kWarning) {
      std::string variable;
      if (text.find("is used uninitialized") != std::string_view::npos ||
          text.find("may be used uninitialized") != std::string_view::npos ||
          text.find("is uninitialized when used") != std::string_view::npos ||
          text.find("may be uninitialized when used") !=
              std::string_view::npos) {
        variable = quoted(text);
      }
      if (const auto v = learner_name(program_, variable);
          v && (v->kind == LearnerName::Kind::kNumber ||
                v->kind == LearnerName::Kind::kText)) {
        const std::string shown = said(*v, language_);
        name(told, kUsedBeforeValue, {{"name", shown}});
        point_at(told, shown);
        told.value_missing = shown;
      }
    }
  }

  // The line buffer undeclared on a 読む or 読みきり line: its file was
  // never opened, and the C it left out closed main early.
  bool reads_unopened_file(const SourcePlace& place, std::string_view word,
                           Told& told) const {
    const auto buffer = learner_name(program_, word);
    const SourceLine& line = program_.line(place.line);
    if (!buffer || buffer->kind != LearnerName::Kind::kLineBuffer ||
        (line.keyword != Keyword::kRead && line.keyword != Keyword::kReadAll)) {
      return false;
    }
    const std::string file = first_operand(line);
    if (file.empty()) {
      name(told, kReadNoFile, {});
    } else {
      name(told, kReadFileNotOpened, {{"file", file}});
      point_at(told, file);
    }
    return true;
  }

  // A word the compiler quotes that the learner did not write is C that a
  // statement writes, on this line or the next ("expected ')' before
  // 'printf'" after an if that is not closed): it is said as the
  // statement's keyword.
  void own_words(Told& told) const {
    std::string& text = told.text;
    for (std::size_t open = text.find('\''); open != std::string::npos;
         open = text.find('\'', open + 1)) {
      const std::size_t close = text.find('\'', open + 1);
      if (close == std::string::npos) return;
      const std::string word = text.substr(open + 1, close - open - 1);
      const std::string keyword = keyword_writing(word, told.line);
      if (!keyword.empty()) {
        text.replace(open + 1, close - open - 1, keyword);
        open += keyword.size() + 1;
      } else {
        open = close;
      }
    }
  }

  // The keyword, UTF-8, of the statement on `line` or the next line whose
  // C holds the C word `word` that the learner's `line` does not; empty
  // when there is none.
  std::string keyword_writing(std::string_view word, std::size_t line) const {
    if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) {
          return is_word_byte(c) && static_cast<unsigned char>(c) < 0x80;
        })) {
      return {};
    }
    if (word_column(program_, line, word) != 0) return {};
    for (const std::size_t n : {line, line + 1}) {
      if (n > program_.line_count()) break;
      const SourceLine& source = program_.line(n);
      if (source.keyword == Keyword::kNone || source.frame()) continue;
      const std::string_view c = program_.translation().c_text_of(n);
      for (std::size_t at = c.find(word); at != std::string_view::npos;
           at = c.find(word, at + 1)) {
        const bool starts = at == 0 || !is_word_byte(c[at - 1]);
        const std::size_t after = at + word.size();
        if (starts && (after == c.size() || !is_word_byte(c[after]))) {
          return keyword_text(source.keyword);
        }
      }
    }
    return {};
  }

  // The character of the source line at the place, UTF-8.
  std::string character_at(const SourcePlace& place) const {
    const SourceLine& line = program_.line(place.line);
    std::size_t offset = 0;
    for (std::size_t c = 1; c < place.column && offset < line.raw.size(); ++c) {
      offset += character_length(std::string_view(line.raw).substr(offset),
                                 Encoding::kShiftJis);
    }
    const std::string_view rest = std::string_view(line.raw).substr(offset);
    return utf8(rest.substr(0, character_length(rest, Encoding::kShiftJis)));
  }

  std::string spelled(std::string_view c_word) const {
    const auto name = learner_name(program_, c_word);
    return name ? said(*name, language_) : utf8(c_word);
  }

  void number_into_text(const SourcePlace& place, Told& told) const {
    // The C assignment strcpy(ccN,SOURCE) names both sides.
    const std::string_view text = program_.translation().c_text_of(place.line);
    const std::size_t call = text.find("strcpy(");
    const std::size_t comma = text.find(',', call);
    const std::size_t close = text.find(')', comma);
    if (call != std::string_view::npos && comma != std::string_view::npos &&
        close != std::string_view::npos) {
      const std::string_view target = text.substr(call + 7, comma - call - 7);
      const std::string_view source = text.substr(comma + 1, close - comma - 1);
      const auto name_of_target = learner_name(program_, target);
      if (name_of_target && name_of_target->kind == LearnerName::Kind::kText) {
        name(told, kNumberIntoText,
             {{"text", said(*name_of_target, language_)},
              {"number", spelled(source)}});
        return;
      }
    }
    name(told, kNumberForText, {});
  }

  void text_into_number(const SourcePlace& place, Told& told) const {
    // So does nnN=SOURCE.
    std::string_view text = program_.translation().c_text_of(place.line);
    while (!text.empty() && (text.front() == '\t' || text.front() == ' ')) {
      text.remove_prefix(1);
    }
    const std::size_t equals = text.find('=');
    const std::size_t end = statement_end(text);
    const auto target =
        equals < end ? learner_name(program_, trimmed(text.substr(0, equals)))
                     : std::nullopt;
    if (!target || target->kind != LearnerName::Kind::kNumber) {
      name(told, kTextForNumber, {});
      return;
    }
    const std::string number = said(*target, language_);
    // The name as a string variable's: 数a becomes 字a.
    const std::string rest =
        utf8(std::string_view(target->sjis).substr(sjis::kNumericMark.size()));
    const std::string_view source =
        trimmed(text.substr(equals + 1, end - equals - 1));
    if (const auto variable = learner_name(program_, source);
        variable && variable->kind == LearnerName::Kind::kText) {
      name(told, kTextIntoNumber,
           {{"number", number}, {"text", said(*variable, language_)}});
      return;
    }
    if (source.size() >= 2 && source.front() == '"' && source.back() == '"') {
      const std::string literal = utf8(source);
      const std::string_view inside = source.substr(1, source.size() - 2);
      if (is_number(inside)) {
        name(told, kDigitsIntoNumber,
             {{"number", number},
              {"text", literal},
              {"digits", inside},
              {"rest", rest}});
      } else {
        name(told, kLiteralIntoNumber,
             {{"number", number}, {"text", literal}, {"rest", rest}});
      }
      return;
    }
    name(told, kTextForNumberOf, {{"number", number}, {"rest", rest}});
  }

  // gcc: "'__builtin_memcpy' writing 301 bytes into a region of size 256",
  // clang: "'strcpy' will always overflow; destination buffer has size 256,
  // but the source string has length 301 (including NUL byte)" or "...but
  // size argument is 300". The assignment of a text, strcpy(ccN,"..."),
  // writes the text and its end mark.
  void writes_past(std::string_view text, const SourcePlace& place,
                   Told& told) const {
    std::size_t size = number_after(text, "writing ");
    std::size_t region = number_after(text, "region of size ");
    bool with_end_mark = size != 0;
    if (size == 0) {
      region = number_after(text, "has size ");
      size = number_after(text, "has length ");
      with_end_mark = size != 0;
      if (size == 0) size = number_after(text, "size argument is ");
    }
    if (size == 0 || region == 0) return;
    const std::string_view line = program_.translation().c_text_of(place.line);
    const std::size_t call = line.find("strcpy(");
    if (with_end_mark && call != std::string_view::npos) {
      const std::size_t comma = line.find(',', call);
      const auto target = learner_name(
          program_, trimmed(line.substr(call + 7, comma - call - 7)));
      if (target && target->kind == LearnerName::Kind::kText) {
        const std::string shown = said(*target, language_);
        const std::string fit = std::to_string(region - 1);
        const std::string length = std::to_string(size - 1);
        name(told, kTextTooLongHere,
             {{"name", shown}, {"fit", fit}, {"size", length}});
        return;
      }
    }
    const std::string fit = std::to_string(region);
    const std::string written = std::to_string(size);
    name(told, kWritesPast, {{"size", written}, {"fit", fit}});
  }

  const Program& program_;
  const CopyMap& map_;
  Language language_;
};

// What the check finds wrong with the shape of the program: braces that
// do not pair, はじめ and おわり missing, twice or out of order, and lines
// outside them.
std::vector<check::Finding> shape_findings(const Program& program) {
  std::vector<check::Finding> found;
  for (check::Finding& finding : check::check_source(program.sjis_source())) {
    switch (finding.problem) {
      case check::Problem::kUnclosedBrace:
      case check::Problem::kStrayClosingBrace:
      case check::Problem::kBeginMissing:
      case check::Problem::kBeginRepeated:
      case check::Problem::kEndMissing:
      case check::Problem::kEndRepeated:
      case check::Problem::kEndBeforeBegin:
      case check::Problem::kCodeBeforeBegin:
      case check::Problem::kCodeAfterEnd:
      case check::Problem::kRepeatBeforeBegin:
        found.push_back(std::move(finding));
        break;
      default:
        break;
    }
  }
  return found;
}

// The line of the first はじめ, or 0.
std::size_t begin_line(const Program& program) {
  for (std::size_t n = 1; n <= program.line_count(); ++n) {
    if (program.line(n).keyword == Keyword::kBegin) return n;
  }
  return 0;
}

// What a compiler says where the program ends before a block does: gcc's
// "expected declaration or statement at end of input", clang's
// "expected '}'".
bool at_end_of_input(std::string_view text) {
  return text.find("end of input") != std::string_view::npos ||
         text.starts_with("expected '}'");
}

// Whether a message only follows from what the finding found: the
// compiler reading the translator's code where the shape put it.
bool follows_from(const check::Finding& finding, const Told& told,
                  std::size_t first_begin) {
  const bool on_line = told.line != 0 && told.file.empty();
  switch (finding.problem) {
    case check::Problem::kBeginMissing:
    case check::Problem::kEndBeforeBegin:
      // No line stands in main.
      return true;
    case check::Problem::kUnclosedBrace:
    case check::Problem::kEndMissing:
      return told.frame || at_end_of_input(told.text);
    case check::Problem::kStrayClosingBrace:
    case check::Problem::kBeginRepeated:
    case check::Problem::kEndRepeated:
    case check::Problem::kCodeAfterEnd:
      return told.frame || (on_line && told.line >= finding.line);
    case check::Problem::kCodeBeforeBegin:
    case check::Problem::kRepeatBeforeBegin:
      return told.frame || (on_line && told.line < first_begin);
    default:
      return false;
  }
}

// The error that tells the learner what the finding found.
Told shape_error(const check::Finding& finding, Language language) {
  Told told;
  told.line = finding.line;
  told.column = finding.column;
  told.plain = true;
  Text text = kNoBegin;
  switch (finding.problem) {
    case check::Problem::kUnclosedBrace:
      text = kUnclosedBrace;
      break;
    case check::Problem::kStrayClosingBrace:
      text = kExtraBrace;
      break;
    case check::Problem::kBeginMissing:
      told.line = 0;
      told.whole_program = true;
      break;
    case check::Problem::kEndMissing:
      told.line = 0;
      told.whole_program = true;
      text = kNoEnd;
      break;
    case check::Problem::kBeginRepeated:
      text = kBeginTwice;
      break;
    case check::Problem::kEndRepeated:
      text = kEndTwice;
      break;
    case check::Problem::kEndBeforeBegin:
      text = kEndFirst;
      break;
    case check::Problem::kCodeBeforeBegin:
      text = kLineBeforeBegin;
      break;
    case check::Problem::kCodeAfterEnd:
      text = kLineAfterEnd;
      break;
    case check::Problem::kRepeatBeforeBegin:
      text = kRepeatBeforeBegin;
      break;
    default:
      break;
  }
  told.text = fill(text, language, {});
  return told;
}

bool names_line(const Told& told) {
  return told.line != 0 && told.file.empty() && !told.frame;
}

std::string render(const Program& program, const Told& told, Language language,
                   Encoding terminal) {
  const std::string_view kind =
      told.severity == Severity::kWarning ? "warning" : "error";
  if (told.line != 0 && told.file.empty()) {
    return render_diagnostic(program.source_name(), told.line,
                             std::max<std::size_t>(told.column, 1), kind,
                             told.text, program.line(told.line).raw, terminal);
  }
  std::string out;
  std::string text = told.text;
  if (!told.file.empty()) {
    out = told.file;
    if (told.line != 0) out += ':' + std::to_string(told.line);
    if (told.column != 0) out += ':' + std::to_string(told.column);
    out += ": ";
  } else if (told.frame) {
    out = program.source_name() + ": ";
    text = fill(kInFrame, language, {told.text});
  } else if (told.whole_program) {
    out = program.source_name() + ": ";
  } else {
    out = "zemuc: ";
    text = fill(kCompilerSays, language, {told.text});
  }
  out += kind;
  out += ": ";
  out += convert_text(text, Encoding::kUtf8, terminal);
  out += '\n';
  return out;
}

}  // namespace

Explanation explain_build(const Program& program, const CopyMap& map,
                          std::string_view output, bool failed,
                          Language language, Encoding terminal) {
  const Explainer explainer(program, map, language);
  std::vector<Told> told;
  for (const CompilerMessage& message : parse_compiler_output(output)) {
    if (std::optional<Told> t = explainer.explain(message)) {
      told.push_back(std::move(*t));
    }
  }
  // The shape's findings were told before the build: what only follows
  // from them goes, and when the build failed each is an error of its own.
  const std::vector<check::Finding> shape = shape_findings(program);
  const std::size_t first_begin = begin_line(program);
  std::erase_if(told, [&](const Told& t) {
    return std::any_of(shape.begin(), shape.end(),
                       [&](const check::Finding& finding) {
                         return follows_from(finding, t, first_begin);
                       });
  });
  if (failed) {
    std::erase_if(
        told, [](const Told& t) { return t.severity == Severity::kWarning; });
    for (const check::Finding& finding : shape) {
      told.push_back(shape_error(finding, language));
    }
    // The frame is the translator's fixed text: an error there follows
    // from an error of the learner's lines.
    if (std::any_of(told.begin(), told.end(), [](const Told& t) {
          return t.severity == Severity::kError && names_line(t);
        })) {
      std::erase_if(told, [](const Told& t) { return t.frame; });
    }
  }
  // Once a sentence of its own tells a line, the compiler's other words on
  // it add nothing.
  std::set<std::size_t> told_plainly;
  for (const Told& t : told) {
    if (t.plain && names_line(t)) told_plainly.insert(t.line);
  }
  std::erase_if(told, [&](const Told& t) {
    return !t.plain && names_line(t) && told_plainly.contains(t.line);
  });
  // By line; what names no line comes after.
  const auto key = [](const Told& t) {
    return t.line != 0 && t.file.empty() ? t.line : SIZE_MAX;
  };
  std::stable_sort(told.begin(), told.end(), [&](const Told& a, const Told& b) {
    return key(a) < key(b);
  });
  Explanation explanation;
  for (const Told& t : told) {
    if (!t.value_missing.empty()) {
      explanation.values_missing.push_back({t.line, t.value_missing});
    }
  }
  std::set<std::string> seen;
  for (const Told& t : told) {
    std::string shown = render(program, t, language, terminal);
    if (!seen.insert(shown).second) continue;
    explanation.shown += shown;
    if (t.severity == Severity::kError) {
      explanation.errors = true;
      if ((t.line != 0 && t.file.empty()) || t.frame || t.whole_program) {
        explanation.source_errors = true;
      }
    }
  }
  return explanation;
}

}  // namespace zemuc::explain
