#include "explain/fault.h"

#include <signal.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "explain/names.h"
#include "explain/place.h"
#include "text/diagnostic.h"

namespace zemuc::explain {
namespace {

using Kind = SanitizerReport::Kind;

constexpr Text kDivisionByZero = {"0 で割り算をしました", "division by zero"};
constexpr Text kDivisionByZeroOf = {"0 で割り算をしました: {} が 0 です",
                                    "division by zero: {} is 0"};
constexpr Text kOverflow = {
    "計算の結果が、数の変数に入る範囲 (-2147483648 から 2147483647) "
    "を超えました",
    "a result too large for a number variable, which holds -2147483648 to "
    "2147483647"};
constexpr Text kOverflowOf = {
    "{} の結果が、数の変数に入る範囲 (-2147483648 から 2147483647) "
    "を超えました",
    "the result of {} is too large for a number variable, which holds "
    "-2147483648 to 2147483647"};
constexpr Text kTypedTooLarge = {
    "打ち込まれた数 {} は、数の変数に入る範囲 (-2147483648 から 2147483647) "
    "を超えています",
    "the number typed, {}, is too large for a number variable, which holds "
    "-2147483648 to 2147483647"};
constexpr Text kReadTooLarge = {
    "ファイルから読んだ数 {} は、数の変数に入る範囲 (-2147483648 から "
    "2147483647) を超えています",
    "the number read, {}, is too large for a number variable, which holds "
    "-2147483648 to 2147483647"};
// Beyond long long, the copy's check has no number to show.
constexpr Text kTypedTooLargeSome = {
    "打ち込まれた数は、数の変数に入る範囲 (-2147483648 から 2147483647) "
    "を超えています",
    "the number typed is too large for a number variable, which holds "
    "-2147483648 to 2147483647"};
constexpr Text kReadTooLargeSome = {
    "ファイルから読んだ数は、数の変数に入る範囲 (-2147483648 から "
    "2147483647) を超えています",
    "the number read is too large for a number variable, which holds "
    "-2147483648 to 2147483647"};
// A fraction (pow, sqrt, a number with a point) put into an int.
constexpr Text kFractionTooLarge = {
    "計算の結果 {} は、数の変数に入る範囲 (-2147483648 から 2147483647) "
    "を超えています",
    "the result {} is too large for a number variable, which holds "
    "-2147483648 to 2147483647"};
constexpr Text kNotANumber = {
    "計算の結果が数になりませんでした (NaN)。数の変数には入れられません",
    "a calculation gave no number (NaN), which a number variable cannot "
    "hold"};
constexpr Text kTextTooLong = {
    "{name} に入る文字は {fit} バイトまでですが、{size} バイトの文字を入れ"
    "ようとしました",
    "{name} holds at most {fit} bytes of text, and a text of {size} bytes "
    "was put into it"};
constexpr Text kTextTooLongSome = {
    "{name} に入る文字は {fit} バイトまでですが、それより長い文字を入れよう"
    "としました",
    "{name} holds at most {fit} bytes of text, and a longer text was put "
    "into it"};
constexpr Text kPastVariable = {
    "{name} ({size} バイト) の終わりを越えて読み書きしました",
    "this reads or writes past the end of {name}, which has {size} bytes"};
constexpr Text kLastWordTooLong = {
    "最後に打ち込んだ言葉が、プログラムが取っておける {fit} バイトより長すぎ"
    "ます",
    "the word typed at the end is longer than the {fit} bytes the program "
    "keeps for it"};
constexpr Text kIndexOutside = {
    "{name} の文字は 0 から {last} 番までですが、{index} 番を使いました",
    "{name} has bytes 0 to {last}, and this uses byte {index}"};
constexpr Text kFileNotOpen = {
    "{} は開いていません: 開く でファイルが開けなかったか、閉じる で閉じた後"
    "です",
    "{} is not open: its 開く could not open the file, or 閉じる has closed "
    "it"};
constexpr Text kFileNotOpenBecause = {
    "{file} は開いていません: {line} 行目の 開く でファイルが開けませんでした。"
    "{why}",
    "{file} is not open: its 開く on line {line} could not open the file: "
    "{why}"};
constexpr Text kNoSuchFile = {
    "そのファイルか、それを入れるフォルダがありません",
    "there is no such file, or no folder for it"};
constexpr Text kNotAllowed = {
    "そのファイルかフォルダを使うことが許されていません",
    "the file or its folder may not be used here"};
constexpr Text kIsFolder = {"その名前はファイルではなくフォルダです",
                            "that name is a folder, not a file"};
constexpr Text kNotFolder = {"途中の名前がフォルダではなくファイルです",
                             "a name on the way to it is a file, not a folder"};
constexpr Text kDiskFull = {"ディスクがいっぱいです", "the disk is full"};
constexpr Text kSystemSays = {"システムの言葉では: {}", "the system says: {}"};
constexpr Text kFileNotWritten = {"{file} のファイルに書けませんでした。{why}",
                                  "{file} could not be written: {why}"};
constexpr Text kFileNotRead = {"{file} のファイルを読めませんでした。{why}",
                               "{file} could not be read: {why}"};
constexpr Text kSomeFileNotWritten = {"ファイルに書けませんでした。{why}",
                                      "a file could not be written: {why}"};
constexpr Text kSomeFileNotRead = {"ファイルを読めませんでした。{why}",
                                   "a file could not be read: {why}"};
constexpr Text kBadMemory = {"プログラムが自分のものでないメモリーに触れました",
                             "the program touched memory that is not its own"};
constexpr Text kPastSomeVariable = {
    "変数の終わりを越えて読み書きしました",
    "the program read or wrote past the end of a variable"};
constexpr Text kPastVariableOrLiteral = {
    "変数か \"…\" の文字の終わりを越えて読み書きしました",
    "the program read or wrote past the end of a variable or of a text "
    "in quotes"};
constexpr Text kPastLiteral = {
    "\"…\" で書いた文字の終わりを越えて読み書きしました",
    "the program read or wrote past the end of a text in quotes"};
constexpr Text kPastAllocated = {
    "malloc で取ったメモリーの終わりを越えて読み書きしました",
    "the program read or wrote past the end of memory from malloc"};
constexpr Text kNullPointer = {
    "何も指していないポインター (NULL) を使いました",
    "the program used a pointer that points to nothing (NULL)"};
constexpr Text kMisaligned = {
    "その型に合わない位置のアドレスでメモリーを読み書きしました",
    "the program read or wrote memory at an address not aligned for its "
    "type"};
constexpr Text kShiftTooFar = {
    "{} ビットずらしましたが、ずらせるのは 0 から 31 ビットまでです",
    "a shift by {} bits, where only 0 to 31 bits can be shifted"};
constexpr Text kShiftNegative = {"負の数 {} を << でずらしました",
                                 "a shift of the negative number {} with <<"};
constexpr Text kOverlapIn = {
    "{} に渡した二つの文字がメモリーの中で重なっているので、正しく写せません。"
    "写す先と写す元は別の変数にしてください",
    "the two texts given to {} overlap in memory and cannot be copied right: "
    "copy from and to different variables"};
constexpr Text kOverlap = {
    "二つの文字がメモリーの中で重なっているので、正しく写せません。写す先と"
    "写す元は別の変数にしてください",
    "two texts overlap in memory and cannot be copied right: copy from and "
    "to different variables"};
constexpr Text kUseAfterFree = {
    "free で返したメモリーを、返した後で使いました",
    "the program used memory after free gave it back"};
constexpr Text kDoubleFree = {"同じメモリーを二度 free しました",
                              "the program gave the same memory to free twice"};
constexpr Text kBadFree = {
    "malloc で取ったのではないメモリーを free しました",
    "the program gave free memory that malloc did not give it"};
constexpr Text kUseAfterReturn = {
    "関数が戻った後で、その関数の変数を使いました",
    "the program used a variable of a function that had returned"};
constexpr Text kUseAfterScope = {
    "{{ }} の中の変数を、その }} の後で使いました",
    "the program used a variable after the }} that ends its block"};
constexpr Text kStackExhausted = {
    "関数の呼び出しが深くなりすぎて、スタックを使い切りました。終わらない再帰"
    "ではありませんか",
    "the calls went so deep that they used up the stack: does a function "
    "call itself without end?"};
constexpr Text kTooMuchMemory = {"求めたメモリーが大きすぎて、取れません",
                                 "the memory asked for is too large to be had"};
constexpr Text kNegativeSize = {"大きさとして負の数を渡しました",
                                "a negative number was passed as a size"};
constexpr Text kPointerOverflow = {
    "ポインターの計算が、メモリーの範囲を外れました",
    "pointer arithmetic went outside memory"};
constexpr Text kArithmetic = {"計算の誤りでプログラムが止められました",
                              "an arithmetic error stopped the program"};
constexpr Text kIndexOutsideArray = {
    "配列の番号は 0 から {last} 番までですが、{index} 番を使いました",
    "the array has elements 0 to {last}, and element {index} was used"};
constexpr Text kOtherCheck = {
    "実行時の検査が、C で決まっていない動きを見つけてプログラムを止めました",
    "a run-time check stopped the program at something C leaves undefined"};
constexpr Text kLikelyCause = {
    "{} に値を入れる前に使っているので、それが原因でしょう",
    "{} is used here before it gets a value, which is the likely cause"};
constexpr Text kSecondSentence = {"{}。{}", "{}; {}"};
constexpr Text kCutShort = {
    "実行時の検査でプログラムを止めましたが、その報告は途中で切れています",
    "a run-time check stopped the program, but its report is cut short"};
constexpr Text kKeptAt = {"検査の報告の全文: {}",
                          "the checks' whole report: {}"};

// A number too large as the copy's check says it: typed or read.
const struct {
  std::string_view how;
  Text with_value;
  Text without_value;
} kTooLargeTexts[] = {
    {"typed", kTypedTooLarge, kTypedTooLargeSome},
    {"read", kReadTooLarge, kReadTooLargeSome},
};

// Why a file did not open, or could not be written or read, from the C
// library's error number; kSystemSays for any other.
const struct {
  int error;
  const Text& why;
} kWhyTexts[] = {
    {ENOENT, kNoSuchFile}, {EACCES, kNotAllowed}, {EPERM, kNotAllowed},
    {EROFS, kNotAllowed},  {EISDIR, kIsFolder},   {ENOTDIR, kNotFolder},
    {ENOSPC, kDiskFull},
};

// A file statement that failed: which one, with or without the file's
// name.
const struct {
  Kind kind;
  const Text& named;
  const Text& unnamed;
} kFileFailedTexts[] = {
    {Kind::kFileNotWritten, kFileNotWritten, kSomeFileNotWritten},
    {Kind::kFileNotRead, kFileNotRead, kSomeFileNotRead},
};

struct Where {
  SourcePlace place;  // line 0 when there is none
  std::size_t c_offset = 0;
  bool frame = false;
};

// The place the report names in the source: where a runtime error says it
// stands, else the innermost frame in the source, else in the frame.
Where where_of(const Program& program, const CopyMap& map,
               const SanitizerReport& report) {
  Where where;
  const auto in_source = [&](const StackFrame& f) -> std::optional<Where> {
    if (f.file.empty() || f.line == 0) return std::nullopt;
    if (names_file(f.file, kFrameName)) {
      Where w;
      w.frame = true;
      return w;
    }
    if (!names_file(f.file, program.source_name())) return std::nullopt;
    const std::optional<std::size_t> offset =
        map.find(CopyMap::File::kSource, f.line, f.column);
    if (!offset) return std::nullopt;
    Where w;
    w.c_offset = *offset;
    w.place = place_of(program, *offset);
    w.frame = w.place.frame;
    if (f.column == 0 && w.place.line != 0) {
      w.place.column = statement_column(program, w.place.line);
    }
    return w;
  };
  if (auto w = in_source(report.place); w && !w->frame) return *w;
  std::optional<Where> frame;
  for (const StackFrame& f : report.stack) {
    if (auto w = in_source(f)) {
      if (!w->frame) return *w;
      if (!frame) frame = w;
    }
  }
  if (auto w = in_source(report.place)) return *w;
  return frame.value_or(where);
}

// The first C word at or after `offset` in the line's C text that names
// one of the learner's names, with the kinds wanted.
std::optional<LearnerName> name_after(const Program& program, std::size_t line,
                                      std::size_t offset,
                                      LearnerName::Kind kind) {
  const std::string_view text = program.translation().c_text_of(line);
  std::size_t i =
      offset > program.c_begin(line) ? offset - program.c_begin(line) : 0;
  while (i < text.size()) {
    if (!is_word_byte(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && is_word_byte(text[end])) ++end;
    if (auto name = learner_name(program, text.substr(i, end - i));
        name && name->kind == kind) {
      return name;
    }
    i = end;
  }
  return std::nullopt;
}

std::string between(std::string_view text, std::string_view from,
                    std::string_view to) {
  const std::size_t a = text.find(from);
  if (a == std::string_view::npos) return {};
  const std::size_t b = text.find(to, a + from.size());
  if (b == std::string_view::npos) return {};
  return std::string(text.substr(a + from.size(), b - a - from.size()));
}

class FaultTeller {
 public:
  FaultTeller(const Program& program, const SanitizerReport& report,
              const Where& where, Language language)
      : program_(program),
        report_(report),
        where_(where),
        language_(language) {}

  std::string text() const {
    switch (report_.kind) {
      case Kind::kDivisionByZero:
        return division_by_zero();
      case Kind::kOverflow:
        return overflow();
      case Kind::kNumberTooLarge:
        return number_too_large();
      case Kind::kOutsideRange:
        return outside_range();
      case Kind::kFileNotWritten:
      case Kind::kFileNotRead:
        return file_failed();
      case Kind::kStackOverflow:
        return stack_overflow();
      case Kind::kGlobalOverflow:
        return global_overflow();
      case Kind::kHeapOverflow:
        return fill(kPastAllocated, language_, {});
      case Kind::kIndexOutOfBounds:
        return index_outside();
      case Kind::kFileNotOpen:
      case Kind::kNullPointer:
      case Kind::kBadAddress:
        if (const auto file = file_of_line()) return file_not_open(*file);
        if (report_.kind == Kind::kNullPointer || report_.null_address) {
          return fill(kNullPointer, language_, {});
        }
        return fill(kBadMemory, language_, {});
      case Kind::kMisaligned:
        return fill(kMisaligned, language_, {});
      case Kind::kShift:
        return shift();
      case Kind::kOverlap:
        if (!report_.function.empty() && where_.place.line != 0 &&
            word_column(program_, where_.place.line, report_.function) != 0) {
          return fill(kOverlapIn, language_, {report_.function});
        }
        return fill(kOverlap, language_, {});
      case Kind::kUseAfterFree:
        return fill(kUseAfterFree, language_, {});
      case Kind::kDoubleFree:
        return fill(kDoubleFree, language_, {});
      case Kind::kBadFree:
        return fill(kBadFree, language_, {});
      case Kind::kUseAfterReturn:
        return fill(kUseAfterReturn, language_, {});
      case Kind::kUseAfterScope:
        return fill(kUseAfterScope, language_, {});
      case Kind::kStackExhausted:
        return fill(kStackExhausted, language_, {});
      case Kind::kTooMuchMemory:
        return fill(kTooMuchMemory, language_, {});
      case Kind::kNegativeSize:
        return fill(kNegativeSize, language_, {});
      case Kind::kPointerOverflow:
        return fill(kPointerOverflow, language_, {});
      case Kind::kArithmetic:
        return fill(kArithmetic, language_, {});
      case Kind::kMemory:
        return fill(kBadMemory, language_, {});
      case Kind::kOther:
        return fill(kOtherCheck, language_, {});
      case Kind::kNone:
        break;
    }
    return fill(kCutShort, language_, {});
  }

  // The divisor of a division by zero as said, when it is a name of the
  // learner's; empty otherwise.
  std::string divisor() const {
    if (report_.kind != Kind::kDivisionByZero || where_.place.line == 0) {
      return {};
    }
    // The place is the operator: the divisor follows it, a name alone or
    // in parentheses of its own.
    const std::string_view text =
        program_.translation().c_text_of(where_.place.line);
    std::size_t i = where_.c_offset - program_.c_begin(where_.place.line);
    if (operator_at(text, i) == 0) return {};
    ++i;
    if (i < text.size() && text[i] == '=') ++i;
    std::size_t opened = 0;
    for (; i < text.size(); ++i) {
      if (text[i] == '(') {
        ++opened;
      } else if (text[i] != ' ' && text[i] != '\t') {
        break;
      }
    }
    std::size_t end = i;
    while (end < text.size() && is_word_byte(text[end])) ++end;
    for (std::size_t k = end; opened > 0 && k < text.size(); ++k) {
      if (text[k] == ')') {
        --opened;
      } else if (text[k] != ' ' && text[k] != '\t') {
        return {};  // an expression in the parentheses
      }
    }
    if (opened > 0) return {};
    const auto name = learner_name(program_, text.substr(i, end - i));
    return name ? said(*name, language_) : std::string();
  }

 private:
  std::string division_by_zero() const {
    const std::string name = divisor();
    if (!name.empty()) return fill(kDivisionByZeroOf, language_, {name});
    return fill(kDivisionByZero, language_, {});
  }

  // The division operator at byte i of the line's C text, or 0.
  static char operator_at(std::string_view text, std::size_t i) {
    if (i >= text.size() || (text[i] != '/' && text[i] != '%')) return 0;
    return text[i];
  }

  // "/" or "%", as the operator at the fault's place is; "/" where the
  // place is not at one.
  std::string division_operator() const {
    if (where_.place.line == 0) return "/";
    const std::string_view text =
        program_.translation().c_text_of(where_.place.line);
    const char op = operator_at(
        text, where_.c_offset - program_.c_begin(where_.place.line));
    return std::string(1, op == 0 ? '/' : op);
  }

  std::string number_too_large() const {
    const std::string value = between(report_.detail, "number ", " does");
    for (const auto& row : kTooLargeTexts) {
      if (!report_.detail.starts_with(row.how)) continue;
      if (value.empty()) return fill(row.without_value, language_, {});
      return fill(row.with_value, language_, {value});
    }
    return fill(kOtherCheck, language_, {});
  }

  // "1e+10 is outside the range of representable values of type 'int'":
  // only an int is a number variable; NaN and infinity are no number to
  // show.
  std::string outside_range() const {
    const std::string_view detail = report_.detail;
    if (!detail.ends_with(" of type 'int'")) {
      return fill(kOtherCheck, language_, {});
    }
    const std::string value = between(detail, "", " is outside");
    if (value == "nan" || value == "-nan") {
      return fill(kNotANumber, language_, {});
    }
    if (value.empty() || value.find("inf") != std::string::npos) {
      return fill(kOverflow, language_, {});
    }
    return fill(kFractionTooLarge, language_, {value});
  }

  // A write, close or read that failed, on the file the line works on.
  std::string file_failed() const {
    const std::string why = why_failed(report_.error);
    for (const auto& row : kFileFailedTexts) {
      if (row.kind != report_.kind) continue;
      if (const auto file = file_of_line()) {
        const std::string name = said(*file, language_);
        const NamedArg args[] = {{"file", name}, {"why", why}};
        return fill(row.named, language_, std::span(args));
      }
      const NamedArg args[] = {{"why", why}};
      return fill(row.unnamed, language_, std::span(args));
    }
    return fill(kOtherCheck, language_, {});
  }

  std::string overflow() const {
    const std::string_view detail = report_.detail;
    std::string what;
    if (detail.starts_with("signed integer overflow: ")) {
      what = between(detail, "overflow: ", " cannot");
    } else if (detail.starts_with("negation of ")) {
      what = "-(" + between(detail, "negation of ", " cannot") + ")";
    } else if (detail.starts_with("division of ")) {
      // UndefinedBehaviorSanitizer says "division" of % too.
      what = between(detail, "division of ", " by ") + " " +
             division_operator() + " " + between(detail, " by ", " cannot");
    } else if (detail.starts_with("left shift of ")) {
      // "left shift of 1 by 31 places cannot be represented in type 'int'"
      what = between(detail, "left shift of ", " by ") + " << " +
             between(detail, " by ", " places");
    }
    if (what.empty() || what == " / " || what == " % " || what == " << ") {
      return fill(kOverflow, language_, {});
    }
    return fill(kOverflowOf, language_, {what});
  }

  std::string stack_overflow() const {
    const std::optional<LearnerName> name =
        learner_name(program_, report_.object);
    const std::string size = std::to_string(report_.object_size);
    const std::string fit =
        std::to_string(report_.object_size > 0 ? report_.object_size - 1 : 0);
    if (name && name->kind == LearnerName::Kind::kLineBuffer) {
      const NamedArg args[] = {{"fit", fit}};
      return fill(kLastWordTooLong, language_, std::span(args));
    }
    if (name && name->kind == LearnerName::Kind::kText && report_.write) {
      const std::string shown = said(*name, language_);
      // scanf and strcpy write the whole text and its end mark.
      const std::string_view writer =
          report_.stack.empty()
              ? std::string_view()
              : std::string_view(report_.stack.front().function);
      // gcc copies a text in quotes with memcpy, its end mark too.
      const bool copy_of_literal =
          writer.find("memcpy") != std::string_view::npos &&
          where_.place.line != 0 &&
          program_.translation().c_text_of(where_.place.line).find("strcpy(") !=
              std::string_view::npos;
      const bool whole = writer.find("scanf") != std::string_view::npos ||
                         writer.find("strcpy") != std::string_view::npos ||
                         writer.find("sprintf") != std::string_view::npos ||
                         copy_of_literal;
      if (whole && report_.access_size > 1) {
        const std::string text_size = std::to_string(report_.access_size - 1);
        const NamedArg args[] = {
            {"name", shown}, {"fit", fit}, {"size", text_size}};
        return fill(kTextTooLong, language_, std::span(args));
      }
      const NamedArg args[] = {{"name", shown}, {"fit", fit}};
      return fill(kTextTooLongSome, language_, std::span(args));
    }
    if (name) {
      const std::string shown = said(*name, language_);
      const NamedArg args[] = {{"name", shown}, {"size", size}};
      return fill(kPastVariable, language_, std::span(args));
    }
    return fill(kPastSomeVariable, language_, {});
  }

  std::string global_overflow() const {
    if (report_.literal) return fill(kPastLiteral, language_, {});
    if (const auto name = learner_name(program_, report_.object)) {
      const std::string shown = said(*name, language_);
      const std::string size = std::to_string(report_.object_size);
      const NamedArg args[] = {{"name", shown}, {"size", size}};
      return fill(kPastVariable, language_, std::span(args));
    }
    if (!report_.object.empty() && report_.object_size != 0) {
      // A variable the learner declared in C keeps its name.
      const std::string size = std::to_string(report_.object_size);
      const NamedArg args[] = {{"name", report_.object}, {"size", size}};
      return fill(kPastVariable, language_, std::span(args));
    }
    return fill(kPastVariableOrLiteral, language_, {});
  }

  std::string shift() const {
    const std::string_view detail = report_.detail;
    if (detail.starts_with("shift exponent ")) {
      return fill(kShiftTooFar, language_,
                  {between(detail, "shift exponent ", " is")});
    }
    constexpr std::string_view kNegative = "negative value ";
    const std::size_t at = detail.find(kNegative);
    const std::string_view value = at == std::string_view::npos
                                       ? std::string_view("?")
                                       : detail.substr(at + kNegative.size());
    return fill(kShiftNegative, language_, {value});
  }

  std::string index_outside() const {
    const std::string index = between(report_.detail, "index ", " out");
    const std::string bytes = between(report_.detail, "[", "]");
    if (where_.place.line != 0 && !bytes.empty()) {
      if (const auto name =
              name_after(program_, where_.place.line, where_.c_offset,
                         LearnerName::Kind::kText)) {
        const std::size_t count = std::strtoul(bytes.c_str(), nullptr, 10);
        const std::string shown = said(*name, language_);
        const std::string last = std::to_string(count > 0 ? count - 1 : 0);
        const NamedArg args[] = {
            {"name", shown}, {"last", last}, {"index", index}};
        return fill(kIndexOutside, language_, std::span(args));
      }
    }
    if (!bytes.empty() && !index.empty()) {
      const std::size_t count = std::strtoul(bytes.c_str(), nullptr, 10);
      const std::string last = std::to_string(count > 0 ? count - 1 : 0);
      const NamedArg args[] = {{"last", last}, {"index", index}};
      return fill(kIndexOutsideArray, language_, std::span(args));
    }
    return fill(kOtherCheck, language_, {});
  }

  // Why the file is not open: the last open that failed was of this file,
  // and the C library said why; else the two ways it can come about.
  std::string file_not_open(const LearnerName& file) const {
    const std::string name = said(file, language_);
    for (auto open = report_.failed_opens.rbegin();
         open != report_.failed_opens.rend(); ++open) {
      const std::size_t line = open_line(*open);
      if (line == 0) continue;
      const auto opened = name_after(program_, line, program_.c_begin(line),
                                     LearnerName::Kind::kFile);
      if (!opened || opened->index != file.index) continue;
      const std::string why = why_failed(open->error);
      const std::string at = std::to_string(line);
      const NamedArg args[] = {{"file", name}, {"line", at}, {"why", why}};
      return fill(kFileNotOpenBecause, language_, std::span(args));
    }
    return fill(kFileNotOpen, language_, {name});
  }

  // The source line of a failed open: an 開く line of the learner's.
  std::size_t open_line(const SanitizerReport::FailedOpen& open) const {
    if (!names_file(open.place.file, program_.source_name())) return 0;
    const std::size_t line = open.place.line;
    if (line == 0 || line > program_.line_count() ||
        program_.line(line).keyword != Keyword::kOpen) {
      return 0;
    }
    return line;
  }

  std::string why_failed(int error) const {
    for (const auto& row : kWhyTexts) {
      if (row.error == error) return fill(row.why, language_, {});
    }
    return fill(kSystemSays, language_, {std::strerror(error)});
  }

  // The file a line's C text works on, when it names one.
  std::optional<LearnerName> file_of_line() const {
    if (where_.place.line == 0) return std::nullopt;
    return name_after(program_, where_.place.line,
                      program_.c_begin(where_.place.line),
                      LearnerName::Kind::kFile);
  }

  const Program& program_;
  const SanitizerReport& report_;
  const Where& where_;
  Language language_;
};

}  // namespace

std::string explain_fault(const Program& program, const CopyMap& map,
                          const SanitizerReport& report,
                          std::string_view kept_at, Language language,
                          Encoding terminal,
                          std::span<const ValueMissing> values_missing) {
  const Where where = where_of(program, map, report);
  const FaultTeller teller(program, report, where, language);
  std::string text = teller.text();
  // A value missing is the likely cause on the fault's line, but for a
  // divisor of its own that is 0.
  const std::string divisor = teller.divisor();
  if (where.place.line != 0 && !where.frame) {
    std::string names;
    for (const ValueMissing& missing : values_missing) {
      if (missing.line != where.place.line) continue;
      if (!divisor.empty() && missing.name != divisor) continue;
      if (!names.empty()) names += pick(language, "、", ", ");
      names += missing.name;
    }
    if (!names.empty()) {
      text = fill(kSecondSentence, language,
                  {text, fill(kLikelyCause, language, {names})});
    }
  }
  std::string out;
  if (where.place.line != 0 && !where.frame) {
    // A file statement's fault is shown at the file's name.
    std::size_t column = std::max<std::size_t>(where.place.column, 1);
    out = render_diagnostic(program.source_name(), where.place.line, column,
                            "error", text, program.line(where.place.line).raw,
                            terminal);
  } else {
    if (where.frame) text = fill(kInFrame, language, {text});
    out = program.source_name() +
          ": error: " + convert_text(text, Encoding::kUtf8, terminal) + "\n";
  }
  if (!kept_at.empty()) {
    // The name is in the terminal's encoding, as it was typed.
    const std::string kept = convert_text(kept_at, terminal, Encoding::kUtf8);
    out += "zemuc: " +
           convert_text(fill(kKeptAt, language, {kept}), Encoding::kUtf8,
                        terminal) +
           "\n";
  }
  return out;
}

std::string explain_signal(int signal, bool checked, Language language,
                           Encoding terminal) {
  Text text;
  switch (signal) {
    case SIGINT:
      return {};
    case SIGSEGV:
    case SIGBUS:
      text = {"プログラムが自分のものでないメモリーに触れて止められました ({})",
              "the program was stopped for touching memory that is not its "
              "own ({})"};
      break;
    case SIGFPE:
      text = {
          "計算の誤りでプログラムが止められました ({}): 多くは 0 での割り算"
          "です",
          "the program was stopped by an arithmetic error ({}), most "
          "often a division by zero"};
      break;
    case SIGILL:
      text = {"プログラムが実行できない命令で止められました ({})",
              "the program was stopped at an instruction it cannot run ({})"};
      break;
    case SIGABRT:
      text = {"プログラムが自分で止まりました ({}、abort から)",
              "the program stopped itself ({}, from abort)"};
      break;
    case SIGKILL:
      text = {
          "プログラムが強制的に終わらされました ({}): メモリーを使いすぎた"
          "のかもしれません",
          "the program was killed ({}), perhaps for using too much "
          "memory"};
      break;
    case SIGTERM:
      text = {"プログラムは終わるように言われて終わりました ({})",
              "the program was told to end ({})"};
      break;
    case SIGHUP:
      text = {"プログラムの端末が閉じられました ({})",
              "the program's terminal was closed ({})"};
      break;
    case SIGQUIT:
      text = {"プログラムは Ctrl-\\ で終わらされました ({})",
              "the program was ended with Ctrl-\\ ({})"};
      break;
    case SIGPIPE:
      text = {"プログラムは誰も読まない所へ書こうとして終わりました ({})",
              "the program wrote where nobody reads ({})"};
      break;
    case SIGXCPU:
      text = {"プログラムは使ってよい時間を使い切って終わりました ({})",
              "the program used up the processor time it may have ({})"};
      break;
    default:
      text = {"プログラムはシグナルで終わりました ({})",
              "the program was ended by a signal ({})"};
      break;
  }
  const char* abbreviation = sigabbrev_np(signal);
  const std::string name = abbreviation != nullptr
                               ? std::string("SIG") + abbreviation
                               : "signal " + std::to_string(signal);
  std::string said_text = fill(text, language, {name});
  if (!checked && (signal == SIGSEGV || signal == SIGBUS || signal == SIGFPE)) {
    said_text +=
        fill({"。検査付きで動かせば (--no-checks なしで) 行がわかります",
              "; run it with checks (without --no-checks) to learn "
              "the line"},
             language, {});
  }
  return "zemuc: " + convert_text(said_text, Encoding::kUtf8, terminal) + "\n";
}

}  // namespace zemuc::explain
