// The words for faults of memory the learner's variables name: a text too
// long for its variable, a write past a variable, an index outside it, a
// copy onto itself.
#include <span>

#include "explain/fault_parts.h"
#include "text/words.h"

namespace zemuc::explain {
namespace {

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
constexpr Text kIndexOutsideArray = {
    "配列の番号は 0 から {last} 番までですが、{index} 番を使いました",
    "the array has elements 0 to {last}, and element {index} was used"};
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

// Whether the write past the text wrote a whole text and its end mark:
// scanf, strcpy and sprintf do, and gcc copies a text in quotes with
// memcpy, its end mark too.
bool writes_whole_text(const Fault& fault) {
  const SanitizerReport& report = fault.report;
  const std::string_view writer =
      report.stack.empty() ? std::string_view()
                           : std::string_view(report.stack.front().function);
  const std::size_t line = fault.where.place.line;
  const bool copy_of_literal =
      writer.find("memcpy") != std::string_view::npos && line != 0 &&
      fault.program.translation().c_text_of(line).find("strcpy(") !=
          std::string_view::npos;
  return writer.find("scanf") != std::string_view::npos ||
         writer.find("strcpy") != std::string_view::npos ||
         writer.find("sprintf") != std::string_view::npos || copy_of_literal;
}

// A text written past the end of a text variable.
std::string text_too_long(const Fault& fault, const LearnerName& name,
                          const std::string& fit) {
  const std::string shown = said(name, fault.language);
  if (writes_whole_text(fault) && fault.report.access_size > 1) {
    const std::string size = std::to_string(fault.report.access_size - 1);
    const NamedArg args[] = {{"name", shown}, {"fit", fit}, {"size", size}};
    return fill(kTextTooLong, fault.language, std::span(args));
  }
  const NamedArg args[] = {{"name", shown}, {"fit", fit}};
  return fill(kTextTooLongSome, fault.language, std::span(args));
}

std::string past_variable(const Fault& fault, std::string_view name) {
  const std::string size = std::to_string(fault.report.object_size);
  const NamedArg args[] = {{"name", name}, {"size", size}};
  return fill(kPastVariable, fault.language, std::span(args));
}

}  // namespace

std::string tell_stack_overflow(const Fault& fault) {
  const SanitizerReport& report = fault.report;
  const std::optional<LearnerName> name =
      learner_name(fault.program, report.object);
  const std::string fit =
      std::to_string(report.object_size > 0 ? report.object_size - 1 : 0);
  if (name && name->kind == LearnerName::Kind::kLineBuffer) {
    const NamedArg args[] = {{"fit", fit}};
    return fill(kLastWordTooLong, fault.language, std::span(args));
  }
  if (name && name->kind == LearnerName::Kind::kText && report.write) {
    return text_too_long(fault, *name, fit);
  }
  if (name) return past_variable(fault, said(*name, fault.language));
  return fill(kPastSomeVariable, fault.language, {});
}

std::string tell_global_overflow(const Fault& fault) {
  const SanitizerReport& report = fault.report;
  if (report.literal) return fill(kPastLiteral, fault.language, {});
  if (const auto name = learner_name(fault.program, report.object)) {
    return past_variable(fault, said(*name, fault.language));
  }
  if (!report.object.empty() && report.object_size != 0) {
    // A variable the learner declared in C keeps its name.
    return past_variable(fault, report.object);
  }
  return fill(kPastVariableOrLiteral, fault.language, {});
}

std::string tell_index_outside(const Fault& fault) {
  const std::string index = between(fault.report.detail, "index ", " out");
  const std::string bytes = between(fault.report.detail, "[", "]");
  const std::size_t count = leading_number<std::size_t>(bytes);
  const std::string last = std::to_string(count > 0 ? count - 1 : 0);
  const std::size_t line = fault.where.place.line;
  if (line != 0 && !bytes.empty()) {
    if (const auto name = name_after(fault.program, line, fault.where.c_offset,
                                     LearnerName::Kind::kText)) {
      const std::string shown = said(*name, fault.language);
      const NamedArg args[] = {
          {"name", shown}, {"last", last}, {"index", index}};
      return fill(kIndexOutside, fault.language, std::span(args));
    }
  }
  if (!bytes.empty() && !index.empty()) {
    const NamedArg args[] = {{"last", last}, {"index", index}};
    return fill(kIndexOutsideArray, fault.language, std::span(args));
  }
  return fill(kOtherCheck, fault.language, {});
}

// The function named where the line calls it; the copy in general where
// it does not.
std::string tell_overlap(const Fault& fault) {
  const std::string& function = fault.report.function;
  const std::size_t line = fault.where.place.line;
  if (!function.empty() && line != 0 &&
      word_column(fault.program, line, function) != 0) {
    return fill(kOverlapIn, fault.language, {function});
  }
  return fill(kOverlap, fault.language, {});
}

}  // namespace zemuc::explain
