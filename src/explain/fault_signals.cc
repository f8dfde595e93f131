// What a signal that ended the program means, a row for each signal.
#include <signal.h>

#include <algorithm>
#include <string>
#include <utility>

#include "explain/fault.h"
#include "explain/place.h"
#include "text/diagnostic.h"

namespace zemuc::explain {
namespace {

constexpr Text kTouchedMemory = {
    "プログラムが自分のものでないメモリーに触れて止められました ({})",
    "the program was stopped for touching memory that is not its own ({})"};

// A signal's text, "{}" its name; `checks_tell_line` where a checked run
// would have named the line instead.
struct SignalText {
  int signal;
  Text text;
  bool checks_tell_line = false;
};

const SignalText kSignalTexts[] = {
    {SIGSEGV, kTouchedMemory, true},
    {SIGBUS, kTouchedMemory, true},
    {SIGFPE,
     {"計算の誤りでプログラムが止められました ({}): 多くは 0 での割り算です",
      "the program was stopped by an arithmetic error ({}), most often a "
      "division by zero"},
     true},
    {SIGILL,
     {"プログラムが実行できない命令で止められました ({})",
      "the program was stopped at an instruction it cannot run ({})"}},
    {SIGABRT,
     {"プログラムが自分で止まりました ({}、abort から)",
      "the program stopped itself ({}, from abort)"}},
    {SIGKILL,
     {"プログラムが強制的に終わらされました ({}): メモリーを使いすぎたのかも"
      "しれません",
      "the program was killed ({}), perhaps for using too much memory"}},
    {SIGTERM,
     {"プログラムは終わるように言われて終わりました ({})",
      "the program was told to end ({})"}},
    {SIGHUP,
     {"プログラムの端末が閉じられました ({})",
      "the program's terminal was closed ({})"}},
    {SIGQUIT,
     {"プログラムは Ctrl-\\ で終わらされました ({})",
      "the program was ended with Ctrl-\\ ({})"}},
    {SIGPIPE,
     {"プログラムは誰も読まない所へ書こうとして終わりました ({})",
      "the program wrote where nobody reads ({})"}},
    {SIGXCPU,
     {"プログラムは使ってよい時間を使い切って終わりました ({})",
      "the program used up the processor time it may have ({})"}},
};

// Any other signal.
constexpr SignalText kOtherSignal = {
    0,
    {"プログラムはシグナルで終わりました ({})",
     "the program was ended by a signal ({})"}};

constexpr Text kRunWithChecks = {
    "。検査付きで動かせば (--no-checks なしで) 行がわかります",
    "; run it with checks (without --no-checks) to learn the line"};

const SignalText& text_of_signal(int signal) {
  for (const SignalText& row : kSignalTexts) {
    if (row.signal == signal) return row;
  }
  return kOtherSignal;
}

}  // namespace

namespace {

// The signal's name as the system spells it: "SIGFPE", or "signal 40".
std::string signal_name(int signal) {
#ifdef __wasi__
  // wasi-libc names no signals: those a program in the browser is said to
  // end of (web/), as Linux names them.
  constexpr std::pair<int, const char*> kNames[] = {
      {SIGSEGV, "SEGV"}, {SIGFPE, "FPE"}, {SIGILL, "ILL"}, {SIGABRT, "ABRT"}};
  const char* abbreviation = nullptr;
  for (const auto& [number, name] : kNames) {
    if (number == signal) abbreviation = name;
  }
#else
  const char* abbreviation = sigabbrev_np(signal);
#endif
  return abbreviation != nullptr ? std::string("SIG") + abbreviation
                                 : "signal " + std::to_string(signal);
}

}  // namespace

std::string explain_signal_at(const Program& program, int signal,
                              std::size_t line, Language language,
                              Encoding terminal) {
  if (line == 0 || line > program.line_count()) return {};
  const std::string text =
      fill(text_of_signal(signal).text, language, {signal_name(signal)});
  return render_diagnostic(
      program.source_name(), line,
      std::max<std::size_t>(statement_column(program, line), 1), "error", text,
      program.line(line).raw, terminal);
}

std::string explain_signal(int signal, bool checked, Language language,
                           Encoding terminal, bool checks_possible) {
  // An interrupt is what the user asked for.
  if (signal == SIGINT) return {};
  const SignalText& row = text_of_signal(signal);
  std::string said_text = fill(row.text, language, {signal_name(signal)});
  if (!checked && checks_possible && row.checks_tell_line) {
    said_text += fill(kRunWithChecks, language, {});
  }
  return "zemuc: " + convert_text(said_text, Encoding::kUtf8, terminal) + "\n";
}

}  // namespace zemuc::explain
