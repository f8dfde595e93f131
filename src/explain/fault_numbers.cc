// The words for faults of numbers: a division by zero, a result or a
// number typed or read too large, a shift too far.
#include <span>

#include "explain/fault_parts.h"

namespace zemuc::explain {
namespace {

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
constexpr Text kShiftTooFar = {
    "{} ビットずらしましたが、ずらせるのは 0 から 31 ビットまでです",
    "a shift by {} bits, where only 0 to 31 bits can be shifted"};
constexpr Text kShiftNegative = {"負の数 {} を << でずらしました",
                                 "a shift of the negative number {} with <<"};

// A number too large as the copy's check says it: typed or read.
const struct {
  std::string_view how;
  Text with_value;
  Text without_value;
} kTooLargeTexts[] = {
    {"typed", kTypedTooLarge, kTypedTooLargeSome},
    {"read", kReadTooLarge, kReadTooLargeSome},
};

// The division operator at byte i of the line's C text, or 0.
char operator_at(std::string_view text, std::size_t i) {
  if (i >= text.size() || (text[i] != '/' && text[i] != '%')) return 0;
  return text[i];
}

// "/" or "%", as the operator at the fault's place is; "/" where the
// place is not at one.
std::string division_operator(const Fault& fault) {
  const std::size_t line = fault.where.place.line;
  if (line == 0) return "/";
  const std::string_view text = fault.program.translation().c_text_of(line);
  const char op =
      operator_at(text, fault.where.c_offset - fault.program.c_begin(line));
  return std::string(1, op == 0 ? '/' : op);
}

// What overflowed, as the learner would write it: "2147483647 + 1";
// empty when the words say too little.
std::string what_overflowed(const Fault& fault) {
  const std::string_view detail = fault.report.detail;
  if (detail.starts_with("signed integer overflow: ")) {
    return between(detail, "overflow: ", " cannot");
  }
  if (detail.starts_with("negation of ")) {
    return "-(" + between(detail, "negation of ", " cannot") + ")";
  }
  if (detail.starts_with("division of ")) {
    // UndefinedBehaviorSanitizer says "division" of % too.
    return between(detail, "division of ", " by ") + " " +
           division_operator(fault) + " " + between(detail, " by ", " cannot");
  }
  if (detail.starts_with("left shift of ")) {
    // "left shift of 1 by 31 places cannot be represented in type 'int'"
    return between(detail, "left shift of ", " by ") + " << " +
           between(detail, " by ", " places");
  }
  return {};
}

}  // namespace

std::string divisor_of(const Fault& fault) {
  const std::size_t line = fault.where.place.line;
  if (fault.report.kind != SanitizerReport::Kind::kDivisionByZero ||
      line == 0) {
    return {};
  }
  // The place is the operator: the divisor follows it, a name alone or
  // in parentheses of its own.
  const std::string_view text = fault.program.translation().c_text_of(line);
  std::size_t i = fault.where.c_offset - fault.program.c_begin(line);
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
  const auto name = learner_name(fault.program, text.substr(i, end - i));
  return name ? said(*name, fault.language) : std::string();
}

std::string tell_division_by_zero(const Fault& fault) {
  const std::string name = divisor_of(fault);
  if (!name.empty()) return fill(kDivisionByZeroOf, fault.language, {name});
  return fill(kDivisionByZero, fault.language, {});
}

std::string tell_overflow(const Fault& fault) {
  const std::string what = what_overflowed(fault);
  if (what.empty() || what == " / " || what == " % " || what == " << ") {
    return fill(kOverflow, fault.language, {});
  }
  return fill(kOverflowOf, fault.language, {what});
}

std::string tell_number_too_large(const Fault& fault) {
  const std::string_view detail = fault.report.detail;
  const std::string value = between(detail, "number ", " does");
  for (const auto& row : kTooLargeTexts) {
    if (!detail.starts_with(row.how)) continue;
    if (value.empty()) return fill(row.without_value, fault.language, {});
    return fill(row.with_value, fault.language, {value});
  }
  return fill(kOtherCheck, fault.language, {});
}

// "1e+10 is outside the range of representable values of type 'int'":
// only an int is a number variable; NaN and infinity are no number to
// show.
std::string tell_outside_range(const Fault& fault) {
  const std::string_view detail = fault.report.detail;
  if (!detail.ends_with(" of type 'int'")) {
    return fill(kOtherCheck, fault.language, {});
  }
  const std::string value = between(detail, "", " is outside");
  if (value == "nan" || value == "-nan") {
    return fill(kNotANumber, fault.language, {});
  }
  if (value.empty() || value.find("inf") != std::string::npos) {
    return fill(kOverflow, fault.language, {});
  }
  return fill(kFractionTooLarge, fault.language, {value});
}

std::string tell_shift(const Fault& fault) {
  const std::string_view detail = fault.report.detail;
  if (detail.starts_with("shift exponent ")) {
    return fill(kShiftTooFar, fault.language,
                {between(detail, "shift exponent ", " is")});
  }
  constexpr std::string_view kNegative = "negative value ";
  const std::size_t at = detail.find(kNegative);
  const std::string_view value = at == std::string_view::npos
                                     ? std::string_view("?")
                                     : detail.substr(at + kNegative.size());
  return fill(kShiftNegative, fault.language, {value});
}

}  // namespace zemuc::explain
