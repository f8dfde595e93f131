// What each kind of report is told as: a row each, with its text, or the
// words that need the report, the place or the program to be said.
#include "explain/fault_parts.h"

namespace zemuc::explain {
namespace {

using Kind = SanitizerReport::Kind;

constexpr Text kCutShort = {
    "実行時の検査でプログラムを止めましたが、その報告は途中で切れています",
    "a run-time check stopped the program, but its report is cut short"};

// A kind's words: `text` as it stands, or what `tell` says.
struct KindTelling {
  Kind kind;
  Text text;
  std::string (*tell)(const Fault&) = nullptr;
};

constexpr KindTelling kTellings[] = {
    {Kind::kDivisionByZero, {}, tell_division_by_zero},
    {Kind::kOverflow, {}, tell_overflow},
    {Kind::kNumberTooLarge, {}, tell_number_too_large},
    {Kind::kNotANumber,
     {"打ち込まれたものが数ではありません。数は半角の数字 0 から 9 で"
      "打ち込んでください (日本語入力を切ってください)",
      "what was typed is not a number: type digits 0-9 in half-width (turn "
      "the Japanese input off)"}},
    {Kind::kOutsideRange, {}, tell_outside_range},
    {Kind::kFileNotWritten, {}, tell_file_failed},
    {Kind::kFileNotRead, {}, tell_file_failed},
    {Kind::kFileClosed, {}, tell_file_closed},
    {Kind::kStackOverflow, {}, tell_stack_overflow},
    {Kind::kGlobalOverflow, {}, tell_global_overflow},
    {Kind::kHeapOverflow,
     {"malloc で取ったメモリーの終わりを越えて読み書きしました",
      "the program read or wrote past the end of memory from malloc"}},
    {Kind::kIndexOutOfBounds, {}, tell_index_outside},
    {Kind::kFileNotOpen, {}, tell_bad_address},
    {Kind::kNullPointer, {}, tell_bad_address},
    {Kind::kBadAddress, {}, tell_bad_address},
    {Kind::kMisaligned,
     {"その型に合わない位置のアドレスでメモリーを読み書きしました",
      "the program read or wrote memory at an address not aligned for its "
      "type"}},
    {Kind::kShift, {}, tell_shift},
    {Kind::kOverlap, {}, tell_overlap},
    {Kind::kUseAfterFree,
     {"free で返したメモリーを、返した後で使いました",
      "the program used memory after free gave it back"}},
    {Kind::kDoubleFree,
     {"同じメモリーを二度 free しました",
      "the program gave the same memory to free twice"}},
    {Kind::kBadFree,
     {"malloc で取ったのではないメモリーを free しました",
      "the program gave free memory that malloc did not give it"}},
    {Kind::kUseAfterReturn,
     {"関数が戻った後で、その関数の変数を使いました",
      "the program used a variable of a function that had returned"}},
    {Kind::kUseAfterScope,
     {"{{ }} の中の変数を、その }} の後で使いました",
      "the program used a variable after the }} that ends its block"}},
    {Kind::kStackExhausted,
     {"関数の呼び出しが深くなりすぎて、スタックを使い切りました。終わらない再帰"
      "ではありませんか",
      "the calls went so deep that they used up the stack: does a function "
      "call itself without end?"}},
    {Kind::kTooMuchMemory,
     {"求めたメモリーが大きすぎて、取れません",
      "the memory asked for is too large to be had"}},
    {Kind::kNegativeSize,
     {"大きさとして負の数を渡しました",
      "a negative number was passed as a size"}},
    {Kind::kPointerOverflow,
     {"ポインターの計算が、メモリーの範囲を外れました",
      "pointer arithmetic went outside memory"}},
    {Kind::kArithmetic,
     {"計算の誤りでプログラムが止められました",
      "an arithmetic error stopped the program"}},
    {Kind::kMemory, kBadMemory},
    {Kind::kOther, kOtherCheck},
    {Kind::kNone, kCutShort},
};

}  // namespace

std::string tell_fault(const Fault& fault) {
  for (const KindTelling& row : kTellings) {
    if (row.kind != fault.report.kind) continue;
    if (row.tell != nullptr) return row.tell(fault);
    return fill(row.text, fault.language, {});
  }
  return fill(kCutShort, fault.language, {});
}

}  // namespace zemuc::explain
