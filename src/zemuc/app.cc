#include "zemuc/app.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "check/check.h"
#include "check/messages.h"
#include "explain/fault.h"
#include "explain/report.h"
#include "front/fault_report.h"
#include "front/reporter.h"
#include "front/source_text.h"
#include "front/translation.h"
#include "io/files.h"
#include "serve/server.h"
#include "server/server.h"
#include "sys/disk.h"
#include "sys/fd.h"
#include "sys/process.h"
#include "sys/signals.h"
#include "toolchain/build.h"
#include "toolchain/toolchain.h"
#include "zemuc/built.h"
#include "zemuc/command_line.h"
#include "zemuc/exercise_commands.h"
#include "zemuc/fault_line.h"
#include "zemuc/names.h"
#include "zemuc/relay.h"
#include "zemuc/scratch.h"

#ifndef ZEMUC_VERSION
#define ZEMUC_VERSION "unknown"
#endif

namespace zemuc {
namespace {

constexpr Text kUsage = {
    "使い方: zemuc run [--no-checks] プログラム.zem\n"
    "        zemuc build [--no-checks] [-o 名前] プログラム.zem\n"
    "        zemuc check プログラム.zem\n"
    "        zemuc test [--json] プログラム.zem 練習問題\n"
    "        zemuc exercise check|outputs|pack 練習問題... [-o "
    "exercises.json]\n"
    "        zemuc lsp\n"
    "        zemuc serve [フォルダ] [--port 番号] [--bind アドレス]\n"
    "        zemuc --help | --version\n"
    "run    C に書き換え "
    "(プログラム.c)、実行時ファイルと組み立てて、この端末で動かす\n"
    "build  同じく書き換えて組み立て、実行ファイルをソースの横に置く (-o "
    "で名前を選ぶ)\n"
    "check  書き換えで思わぬことが起きる所を知らせる\n"
    "test   練習問題のフォルダの例すべてでプログラムを動かし、出力を確かめる\n"
    "       (--json: 結果を JSON で)\n"
    "exercise check    練習問題を確かめ、模範解答 answer.zem "
    "を例すべてで動かす\n"
    "exercise outputs  足りない .out を模範解答の出力から書く\n"
    "exercise pack     練習問題をページのための exercises.json にまとめる\n"
    "lsp    エディタのための言語サーバ (Language Server Protocol, 標準入出力)\n"
    "serve  あそび場のサイトを教室のネットワークに配る (Ctrl-C "
    "で止める;\n"
    "       フォルダを指定しなければ zemuc と一緒に入れたもの、ポートは "
    "8080)\n"
    "--no-checks  動いている間の検査 (0 での割り算、大きすぎる数、変数に"
    "入りきらない文字など) をしない\n"
    "ソースは UTF-8 でも Shift-JIS でもよい。詳しくは man zemuc\n",
    "Usage: zemuc run [--no-checks] SOURCE.zem\n"
    "       zemuc build [--no-checks] [-o PROGRAM] SOURCE.zem\n"
    "       zemuc check SOURCE.zem\n"
    "       zemuc test [--json] SOURCE.zem EXERCISE\n"
    "       zemuc exercise check|outputs|pack EXERCISE... [-o "
    "exercises.json]\n"
    "       zemuc lsp\n"
    "       zemuc serve [DIR] [--port N] [--bind ADDRESS]\n"
    "       zemuc --help | --version\n"
    "run    translate SOURCE.zem into C (SOURCE.c beside it), build it with "
    "the\n"
    "       run-time file and run it on this terminal\n"
    "build  translate and build; the program is left beside the source, or\n"
    "       named PROGRAM with -o\n"
    "check  show where the translation will do what was likely not meant\n"
    "test   run SOURCE.zem on every case of the exercise folder and check "
    "its\n"
    "       output (--json: the results as JSON)\n"
    "exercise check    validate exercises and run answer.zem on every case\n"
    "exercise outputs  write the missing .out files from answer.zem\n"
    "exercise pack     gather exercises into exercises.json for the page\n"
    "lsp    serve editors as a language server over standard input and "
    "output\n"
    "serve  serve the playground's site to the class's network until Ctrl-C\n"
    "       (DIR: the site installed with zemuc by default; port 8080)\n"
    "--no-checks  build without the checks made while the program runs\n"
    "       (division by zero, numbers too large, texts too long ...)\n"
    "The source may be UTF-8 or Shift-JIS. See man zemuc.\n"};

// What each refusal of a command line says; its subject fills the {}.
constexpr std::pair<Refusal, Text> kRefusals[] = {
    {Refusal::kNoCommand, {"コマンドがありません", "no command given"}},
    {Refusal::kUnknownCommand,
     {"知らないコマンドです: {}", "unknown command '{}'"}},
    {Refusal::kTakesNoArguments,
     {"{} には引数がいりません", "{} takes no arguments"}},
    {Refusal::kOutputNotHere,
     {"-o は build と exercise pack だけのものです",
      "-o goes with build and exercise pack only"}},
    {Refusal::kOutputTwice, {"-o が二つあります", "-o given twice"}},
    {Refusal::kOutputNeedsName, {"-o には名前がいります", "-o needs a name"}},
    {Refusal::kChecksNotHere,
     {"--no-checks は run と build だけのものです",
      "--no-checks goes with run and build only"}},
    {Refusal::kUnknownOption,
     {"知らないオプションです: {}", "unknown option '{}'"}},
    {Refusal::kOneSource, {"ソースは一つだけです", "one source at a time"}},
    {Refusal::kNoSource, {"ソースがありません", "no source given"}},
    {Refusal::kBadPort,
     {"ポートは 0 から 65535 までの番号です: {}",
      "a port is a number from 0 to 65535, not '{}'"}},
    {Refusal::kOptionNeedsValue, {"{} には値がいります", "{} needs a value"}},
    {Refusal::kOneSite,
     {"サイトのフォルダは一つだけです", "one site folder at a time"}},
    {Refusal::kJsonNotHere,
     {"--json は test だけのものです", "--json goes with test only"}},
    {Refusal::kNoExercise,
     {"test にはプログラムと練習問題のフォルダがいります",
      "test needs a program and an exercise folder"}},
    {Refusal::kUnknownTask,
     {"exercise の後は check, outputs, pack のどれかです ({} ではなく)",
      "exercise takes check, outputs or pack, not '{}'"}},
    {Refusal::kNoFolder,
     {"練習問題のフォルダがありません", "no exercise folder given"}},
    {Refusal::kOneFolder,
     {"exercise outputs のフォルダは一つだけです",
      "exercise outputs takes one folder"}},
    {Refusal::kPackNeedsOutput,
     {"exercise pack には -o ファイル名 がいります",
      "exercise pack needs -o FILE"}},
};

Text refusal_text(Refusal refusal) {
  for (const auto& [which, text] : kRefusals) {
    if (which == refusal) return text;
  }
  return {"", ""};
}

int build(const Command& command, Reporter& reporter) {
  const std::optional<Names> names = names_for(command, reporter);
  if (!names) return kExitUsage;
  // Read before the signals are held: a source that never ends (a pipe
  // nobody writes) must not keep Ctrl-C from ending zemuc.
  const std::optional<std::string> source = load_source(command, reporter);
  if (!source) return kExitTranslationFailed;
  HeldSignals held;
  const std::optional<ScratchFolder> folder = scratch_folder(reporter);
  if (!folder) return kExitBuildFailed;
  const std::variant<BuiltProgram, int> built = translate_and_build(
      command, *source, *names, names->program, folder->path(), reporter);
  return std::holds_alternative<int>(built) ? std::get<int>(built) : 0;
}

// What is told after the program ended, and zemuc's status: a check that
// stopped it, a failure to show its output, the signal that ended it, on
// its line where the `watch` learns it.
int tell_ending(const Names& names, const BuiltProgram& built,
                const std::string& folder, const ProgramEnd& ended,
                const std::optional<FaultWatch>& watch, Reporter& reporter) {
  // zemuc's words start on a line of their own.
  const auto new_line = [&] {
    if (!ended.at_line_start) reporter.write("\n");
  };
  const std::string report = built.reports() ? reports_in(folder) : "";
  if (!report.empty()) {
    new_line();
    tell_fault(names.c_file, built.program, built.map, built.values_missing,
               report, write_whole_file, reporter);
    return kExitCheckFailed;
  }
  // A reader that went away ended the program as it would have ended it
  // alone, without a word; any other failure to show its output is told.
  if (ended.output_error != 0 && ended.output_error != EPIPE) {
    new_line();
    reporter.error({"プログラムの出力を書けません: {}",
                    "cannot write the program's output: {}"},
                   {std::strerror(ended.output_error)});
  }
  if (ended.ended.signal != 0 && ended.output_error == 0) {
    std::string said =
        watch ? tell_fault_line(*watch, built.program, ended.ended.signal,
                                reporter.language(), reporter.terminal())
              : "";
    if (said.empty()) {
      said = explain::explain_signal(ended.ended.signal, built.checked,
                                     reporter.language(), reporter.terminal(),
                                     built.checks_possible);
    }
    if (!said.empty()) {
      new_line();
      reporter.write(said);
    }
  }
  return ended.ended.status;
}

int run(const Command& command, Reporter& reporter) {
  const std::optional<Names> names = names_for(command, reporter);
  if (!names) return kExitUsage;
  // Read before the signals are held, as for build.
  const std::optional<std::string> source = load_source(command, reporter);
  if (!source) return kExitTranslationFailed;
  // Held from here to the end, so that every way out removes the scratch
  // folder first: the folder goes before the hold ends and a signal that
  // came meanwhile ends zemuc.
  const HeldSignals held;
  // The program is built where it is not seen; the folder keeps what the
  // checks report until the run ends.
  const std::optional<ScratchFolder> folder = scratch_folder(reporter);
  if (!folder || !serves_a_run(folder->path(), command.checks, reporter)) {
    return kExitBuildFailed;
  }
  const std::string program = folder->path() + "/program";
  std::variant<BuiltProgram, int> prepared = translate_and_build(
      command, *source, *names, program, folder->path(), reporter);
  if (const int* status = std::get_if<int>(&prepared)) return *status;
  const BuiltProgram& built = std::get<BuiltProgram>(prepared);
  if (ending_signal_pending()) return kExitInterrupted;
  // A checked program reads its own file to name the lines of a report,
  // and the tool that names a fault's line without checks reads it too;
  // either way it goes with the folder.
  const std::optional<FaultWatch> watch =
      fault_watch(built.checked, program, folder->path());
  const std::optional<ProgramEnd> ended = run_on_pseudo_terminal(
      program, reporter.terminal(), STDIN_FILENO, STDOUT_FILENO,
      held.previous(),
      with_fault_watch(
          check_settings(built.checked, built.reports(), folder->path()),
          watch),
      [&program, &built, &watch] {
        if (!built.checked && !watch) ::unlink(program.c_str());
      });
  if (!ended) {
    tell_not_started(errno, reporter);
    return kExitBuildFailed;
  }
  return tell_ending(*names, built, folder->path(), *ended, watch, reporter);
}

// zemuc's own writes to its standard output and error, which note a
// reader that has gone (EPIPE: SIGPIPE is ignored meanwhile).
class OwnWrites {
 public:
  void write(int fd, std::string_view bytes) {
    if (!write_all(fd, bytes) && errno == EPIPE) reader_gone_ = true;
  }
  bool reader_gone() const { return reader_gone_; }

 private:
  bool reader_gone_ = false;
};

// Status 0 when nothing is found, 1 when something is, 2 when the source
// cannot be read.
int check_only(const Command& command, Reporter& reporter, OwnWrites& writes) {
  const std::optional<std::string> source = load_source(command, reporter);
  if (!source) return kExitUsage;
  const std::string findings = findings_of(command, *source, reporter);
  writes.write(STDOUT_FILENO, findings);
  return findings.empty() ? 0 : kExitFindings;
}

// Every command converts between UTF-8 and Shift-JIS; a C library without
// the converter is said at once rather than taken for a bad source.
bool converters_present(Reporter& reporter) {
  for (const auto& [from, to] :
       {std::pair{Encoding::kUtf8, Encoding::kShiftJis},
        std::pair{Encoding::kShiftJis, Encoding::kUtf8}}) {
    if (const std::optional<std::string> missing =
            missing_converter(from, to)) {
      reporter.error(
          {"文字コードを変換できません: {}", "cannot convert text: {}"},
          {*missing});
      return false;
    }
  }
  return true;
}

int run_command(std::span<const char* const> args, OwnWrites& writes) {
  const bool standard_open = open_standard_descriptors();
  Reporter reporter(message_language(), terminal_encoding(),
                    [&writes](std::string_view bytes) {
                      writes.write(STDERR_FILENO, bytes);
                    });
  if (!standard_open) {
    reporter.error({"標準入出力を開けません: {}",
                    "cannot open the standard input and output: {}"},
                   {std::strerror(errno)});
    return kExitBuildFailed;
  }
  const ParsedCommand parsed = parse_command_line(args);
  if (parsed.refusal != Refusal::kNone) {
    reporter.error(refusal_text(parsed.refusal), {parsed.subject});
    reporter.write(reporter.format(kUsage, {}));
    return kExitUsage;
  }
  const Command& command = parsed.command;
  const bool needs_converters =
      command.verb != Verb::kHelp && command.verb != Verb::kVersion;
  if (needs_converters && !converters_present(reporter)) {
    // Like a missing compiler; check keeps 1 for its findings.
    return command.verb == Verb::kCheck ? kExitUsage : kExitBuildFailed;
  }
  switch (command.verb) {
    case Verb::kHelp:
      writes.write(STDOUT_FILENO, reporter.format(kUsage, {}));
      return 0;
    case Verb::kVersion:
      writes.write(STDOUT_FILENO, "zemuc " ZEMUC_VERSION "\n");
      return 0;
    case Verb::kBuild:
      return build(command, reporter);
    case Verb::kRun:
      return run(command, reporter);
    case Verb::kCheck:
      return check_only(command, reporter, writes);
    case Verb::kTest:
      return test_program(command, reporter, [&writes](std::string_view b) {
        writes.write(STDOUT_FILENO, b);
      });
    case Verb::kExercise:
      return exercise_command(command, reporter, [&writes](std::string_view b) {
        writes.write(STDOUT_FILENO, b);
      });
    case Verb::kLsp:
      return lsp::serve(STDIN_FILENO, STDOUT_FILENO,
                        {reporter.language(), ZEMUC_VERSION});
    case Verb::kServe:
      return serve::serve_site({command.site, command.port, command.bind},
                               reporter, [&writes](std::string_view bytes) {
                                 writes.write(STDOUT_FILENO, bytes);
                               });
  }
  return kExitUsage;
}

}  // namespace

int run_zemuc(std::span<const char* const> args) {
  restore_child_signal();
  // A write past a file-size limit then fails and is told, instead of
  // ending zemuc without a word and leaving its scratch files.
  const IgnoredSignal no_size_signal(SIGXFSZ);
  OwnWrites writes;
  int status = 0;
  {
    // A reader of zemuc's own words that has gone fails the writes instead
    // of ending zemuc at once, which would leave what it made behind ...
    const IgnoredSignal no_pipe_signal(SIGPIPE);
    status = run_command(args, writes);
  }
  // ... and once that is gone, zemuc ends as a tool whose reader went away
  // ends, of SIGPIPE.
  if (writes.reader_gone()) raise_signal(SIGPIPE);
  return status;
}

}  // namespace zemuc
