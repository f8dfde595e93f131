#include "compiler/fault.h"

#include <signal.h>

#include <optional>

#include "compiler/names.h"
#include "compiler/place.h"
#include "text/diagnostic.h"

namespace zemuc::compiler {
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
constexpr Text kBadMemory = {
    "プログラムが自分のものでないメモリーに触れました ({})",
    "the program touched memory that is not its own ({})"};
constexpr Text kOtherCheck = {"実行時の検査でプログラムを止めました: {}",
                              "a run-time check stopped the program: {}"};
constexpr Text kCutShort = {
    "実行時の検査でプログラムを止めましたが、その報告は途中で切れています",
    "a run-time check stopped the program, but its report is cut short"};
constexpr Text kKeptAt = {"検査の報告の全文: {}",
                          "the checks' whole report: {}"};

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
      case Kind::kNumberTooLarge: {
        const std::string found = between(report_.detail, "number ", " does");
        const std::string value = found.empty() ? std::string(1, '?') : found;
        return fill(report_.detail.starts_with("typed") ? kTypedTooLarge
                                                        : kReadTooLarge,
                    language_, {value});
      }
      case Kind::kStackOverflow:
        return stack_overflow();
      case Kind::kIndexOutOfBounds:
        return index_outside();
      case Kind::kFileNotOpen:
      case Kind::kNullPointer:
      case Kind::kBadAddress:
        if (const auto file = file_of_line()) {
          return fill(kFileNotOpen, language_, {said(*file, language_)});
        }
        return fill(kBadMemory, language_, {report_.detail});
      case Kind::kMemory:
        return fill(kBadMemory, language_, {report_.detail});
      case Kind::kOther:
        return fill(kOtherCheck, language_,
                    {rename_c_names(program_, report_.detail, language_)});
      case Kind::kNone:
        break;
    }
    return fill(kCutShort, language_, {});
  }

 private:
  std::string division_by_zero() const {
    if (where_.place.line != 0) {
      // The place is the operator: the divisor follows it.
      const std::string_view text =
          program_.translation().c_text_of(where_.place.line);
      std::size_t i = where_.c_offset - program_.c_begin(where_.place.line);
      if (i < text.size() && (text[i] == '/' || text[i] == '%')) {
        ++i;
        if (i < text.size() && text[i] == '=') ++i;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        std::size_t end = i;
        while (end < text.size() && is_word_byte(text[end])) ++end;
        if (const auto name = learner_name(program_, text.substr(i, end - i))) {
          return fill(kDivisionByZeroOf, language_, {said(*name, language_)});
        }
      }
    }
    return fill(kDivisionByZero, language_, {});
  }

  std::string overflow() const {
    const std::string_view detail = report_.detail;
    std::string what;
    if (detail.starts_with("signed integer overflow: ")) {
      what = between(detail, "overflow: ", " cannot");
    } else if (detail.starts_with("negation of ")) {
      what = "-(" + between(detail, "negation of ", " cannot") + ")";
    } else if (detail.starts_with("division of ")) {
      what = between(detail, "division of ", " by ") + " / " +
             between(detail, " by ", " cannot");
    }
    if (what.empty() || what == " / ") return fill(kOverflow, language_, {});
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
      const bool whole = writer.find("scanf") != std::string_view::npos ||
                         writer.find("strcpy") != std::string_view::npos ||
                         writer.find("sprintf") != std::string_view::npos;
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
    return fill(kBadMemory, language_, {report_.detail});
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
    return fill(kOtherCheck, language_,
                {rename_c_names(program_, report_.detail, language_)});
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
                          Encoding terminal) {
  const Where where = where_of(program, map, report);
  std::string text = FaultTeller(program, report, where, language).text();
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

}  // namespace zemuc::compiler
