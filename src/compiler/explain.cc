#include "compiler/explain.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "check/check.h"
#include "compiler/messages.h"
#include "compiler/names.h"
#include "compiler/place.h"
#include "text/diagnostic.h"
#include "text/sjis_texts.h"

namespace zemuc::compiler {
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
      }
    }
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
    // So does nnN=ccM.
    std::string_view text = program_.translation().c_text_of(place.line);
    while (!text.empty() && (text.front() == '\t' || text.front() == ' ')) {
      text.remove_prefix(1);
    }
    const std::size_t equals = text.find('=');
    const std::size_t end = text.find(';');
    if (equals != std::string_view::npos && end != std::string_view::npos &&
        equals < end) {
      const auto target = learner_name(program_, text.substr(0, equals));
      const auto source =
          learner_name(program_, text.substr(equals + 1, end - equals - 1));
      if (target && source && target->kind == LearnerName::Kind::kNumber &&
          source->kind == LearnerName::Kind::kText) {
        name(told, kTextIntoNumber,
             {{"number", said(*target, language_)},
              {"text", said(*source, language_)}});
        return;
      }
    }
    name(told, kTextForNumber, {});
  }

  const Program& program_;
  const CopyMap& map_;
  Language language_;
};

// Braces that do not pair, as the check finds them in the source.
struct BraceTrouble {
  std::size_t line = 0;
  std::size_t column = 0;
  bool unclosed = false;  // else a } too many
};

std::optional<BraceTrouble> unpaired_brace(const Program& program) {
  for (const check::Finding& finding :
       check::check_source(program.sjis_source())) {
    if (finding.problem == check::Problem::kUnclosedBrace ||
        finding.problem == check::Problem::kStrayClosingBrace) {
      return BraceTrouble{finding.line, finding.column,
                          finding.problem == check::Problem::kUnclosedBrace};
    }
  }
  return std::nullopt;
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
  if (failed) {
    if (const std::optional<BraceTrouble> trouble = unpaired_brace(program)) {
      // What only follows from it goes: messages in the frame, and from a
      // } too many on, every message.
      std::erase_if(told, [&](const Told& t) {
        return t.frame || (!trouble->unclosed && t.line >= trouble->line) ||
               (t.severity == Severity::kWarning && t.line == trouble->line);
      });
      Told brace;
      brace.line = trouble->line;
      brace.column = trouble->column;
      brace.text =
          fill(trouble->unclosed ? kUnclosedBrace : kExtraBrace, language, {});
      told.push_back(std::move(brace));
    }
  }
  // By line; what names no line comes after.
  const auto key = [](const Told& t) {
    return t.line != 0 && t.file.empty() ? t.line : SIZE_MAX;
  };
  std::stable_sort(told.begin(), told.end(), [&](const Told& a, const Told& b) {
    return key(a) < key(b);
  });
  Explanation explanation;
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

}  // namespace zemuc::compiler
