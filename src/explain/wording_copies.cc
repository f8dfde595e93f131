// The rows that name both sides of a copy from the C the line became: the
// assignment of a text, strcpy(ccN,SOURCE), and of a number, nnN=SOURCE.
#include <optional>
#include <string>

#include "check/c_regions.h"
#include "explain/names.h"
#include "explain/wording_rows.h"
#include "lexer/sjis_texts.h"
#include "text/words.h"

namespace zemuc::explain {
namespace {

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

std::string_view c_of(const Reading& r) {
  return r.program.translation().c_text_of(r.place->line);
}

// Whether a piece of the C, blanks around it aside, begins or ends at a
// line end: a statement without its ';' runs on to the end of its line,
// and what reaches it is no name and no literal.
bool reaches_line_end(std::string_view piece) {
  const std::size_t first = piece.find_first_not_of(" \t");
  if (first == std::string_view::npos) return false;
  const char last = piece[piece.find_last_not_of(" \t")];
  return piece[first] == '\n' || piece[first] == '\r' || last == '\n' ||
         last == '\r';
}

// The learner's name that a piece of the C is, blanks around it aside.
std::optional<LearnerName> name_in(const Program& program,
                                   std::string_view piece) {
  if (reaches_line_end(piece)) return std::nullopt;
  return learner_name(program, trimmed(piece));
}

std::string spelled(const Reading& r, std::string_view c_word) {
  const auto name = learner_name(r.program, c_word);
  return name ? said(*name, r.language) : utf8(c_word);
}

// Digits, perhaps after a sign.
bool spells_digits(std::string_view text) {
  if (text.starts_with('-') || text.starts_with('+')) text.remove_prefix(1);
  return !text.empty() &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A literal put into the number variable `number`.
void literal_into_number(const Reading& r, Told& told, std::string_view source,
                         const std::string& number, const std::string& rest) {
  const std::string literal = utf8(source);
  const std::string_view inside = source.substr(1, source.size() - 2);
  if (spells_digits(inside)) {
    name(r, told, kDigitsIntoNumber,
         {{"number", number},
          {"text", literal},
          {"digits", inside},
          {"rest", rest}});
  } else {
    name(r, told, kLiteralIntoNumber,
         {{"number", number}, {"text", literal}, {"rest", rest}});
  }
}

}  // namespace

void number_into_text(const Reading& r, Told& told) {
  // The C assignment strcpy(ccN,SOURCE) names both sides.
  const std::string_view text = c_of(r);
  const std::size_t call = text.find("strcpy(");
  const std::size_t comma = text.find(',', call);
  const std::size_t close = text.find(')', comma);
  if (call != std::string_view::npos && comma != std::string_view::npos &&
      close != std::string_view::npos) {
    const std::string_view target = text.substr(call + 7, comma - call - 7);
    const std::string_view source = text.substr(comma + 1, close - comma - 1);
    const auto name_of_target = learner_name(r.program, target);
    if (name_of_target && name_of_target->kind == LearnerName::Kind::kText) {
      name(r, told, kNumberIntoText,
           {{"text", said(*name_of_target, r.language)},
            {"number", spelled(r, source)}});
      return;
    }
  }
  name(r, told, kNumberForText, {});
}

void text_into_number(const Reading& r, Told& told) {
  // So does nnN=SOURCE, up to the statement's ';'.
  const std::string_view text = c_of(r);
  const std::size_t equals = text.find('=');
  const std::size_t end = std::min(check::find_in_code(text, ';'), text.size());
  const auto target =
      equals < end ? name_in(r.program, text.substr(0, equals)) : std::nullopt;
  if (!target || target->kind != LearnerName::Kind::kNumber) {
    name(r, told, kTextForNumber, {});
    return;
  }
  const std::string number = said(*target, r.language);
  // The name as a string variable's: 数a becomes 字a.
  const std::string rest =
      utf8(std::string_view(target->sjis).substr(sjis::kNumericMark.size()));
  const std::string_view right = text.substr(equals + 1, end - equals - 1);
  if (const auto variable = name_in(r.program, right);
      variable && variable->kind == LearnerName::Kind::kText) {
    name(r, told, kTextIntoNumber,
         {{"number", number}, {"text", said(*variable, r.language)}});
    return;
  }
  const std::string_view source = trimmed(right);
  if (!reaches_line_end(right) && source.size() >= 2 && source.front() == '"' &&
      source.back() == '"') {
    literal_into_number(r, told, source, number, rest);
    return;
  }
  name(r, told, kTextForNumberOf, {{"number", number}, {"rest", rest}});
}

// gcc: "'__builtin_memcpy' writing 301 bytes into a region of size 256",
// clang: "'strcpy' will always overflow; destination buffer has size 256,
// but the source string has length 301 (including NUL byte)" or "...but
// size argument is 300". The assignment of a text, strcpy(ccN,"..."),
// writes the text and its end mark.
void writes_past(const Reading& r, Told& told) {
  const std::string_view text = r.message.text;
  const auto after = [text](std::string_view words) {
    const std::size_t at = text.find(words);
    return at == std::string_view::npos
               ? std::size_t{0}
               : leading_number<std::size_t>(text.substr(at + words.size()));
  };
  std::size_t size = after("writing ");
  std::size_t region = after("region of size ");
  if (size == 0) {
    region = after("has size ");
    size = after("has length ");
  }
  const bool with_end_mark = size != 0;
  if (size == 0) size = after("size argument is ");
  if (size == 0 || region == 0) return;
  const std::string_view line = c_of(r);
  const std::size_t call = line.find("strcpy(");
  if (with_end_mark && call != std::string_view::npos) {
    const std::size_t comma = line.find(',', call);
    const auto target =
        name_in(r.program, line.substr(call + 7, comma - call - 7));
    if (target && target->kind == LearnerName::Kind::kText) {
      name(r, told, kTextTooLongHere,
           {{"name", said(*target, r.language)},
            {"fit", std::to_string(region - 1)},
            {"size", std::to_string(size - 1)}});
      return;
    }
  }
  name(r, told, kWritesPast,
       {{"size", std::to_string(size)}, {"fit", std::to_string(region)}});
}

}  // namespace zemuc::explain
