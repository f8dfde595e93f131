#include "zemuc/app.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "check/check.h"
#include "check/messages.h"
#include "driver/output_name.h"
#include "lsp/server.h"
#include "sys/disk.h"
#include "sys/fd.h"
#include "sys/process.h"
#include "sys/signals.h"
#include "zemuc/command_line.h"
#include "zemuc/compile.h"
#include "zemuc/relay.h"
#include "zemuc/reporter.h"
#include "zemuc/source_text.h"
#include "zemuc/translation.h"

#ifndef ZEMUC_VERSION
#define ZEMUC_VERSION "unknown"
#endif

namespace zemuc {
namespace {

constexpr Text kUsage = {
    "使い方: zemuc run プログラム.zem\n"
    "        zemuc build [-o 名前] プログラム.zem\n"
    "        zemuc check プログラム.zem\n"
    "        zemuc lsp\n"
    "        zemuc --help | --version\n"
    "run    C に書き換え "
    "(プログラム.c)、実行時ファイルと組み立てて、この端末で動かす\n"
    "build  同じく書き換えて組み立て、実行ファイルをソースの横に置く (-o "
    "で名前を選ぶ)\n"
    "check  書き換えで思わぬことが起きる所を知らせる\n"
    "lsp    エディタのための言語サーバ (Language Server Protocol, 標準入出力)\n"
    "ソースは UTF-8 でも Shift-JIS でもよい。詳しくは man zemuc\n",
    "Usage: zemuc run SOURCE.zem\n"
    "       zemuc build [-o PROGRAM] SOURCE.zem\n"
    "       zemuc check SOURCE.zem\n"
    "       zemuc lsp\n"
    "       zemuc --help | --version\n"
    "run    translate SOURCE.zem into C (SOURCE.c beside it), build it with "
    "the\n"
    "       run-time file and run it on this terminal\n"
    "build  translate and build; the program is left beside the source, or\n"
    "       named PROGRAM with -o\n"
    "check  show where the translation will do what was likely not meant\n"
    "lsp    serve editors as a language server over standard input and "
    "output\n"
    "The source may be UTF-8 or Shift-JIS. See man zemuc.\n"};

Text refusal_text(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNoCommand:
      return {"コマンドがありません", "no command given"};
    case Refusal::kUnknownCommand:
      return {"知らないコマンドです: {}", "unknown command '{}'"};
    case Refusal::kTakesNoArguments:
      return {"{} には引数がいりません", "{} takes no arguments"};
    case Refusal::kOutputNotHere:
      return {"-o は build だけのものです", "-o goes with build only"};
    case Refusal::kOutputTwice:
      return {"-o が二つあります", "-o given twice"};
    case Refusal::kOutputNeedsName:
      return {"-o には名前がいります", "-o needs a name"};
    case Refusal::kUnknownOption:
      return {"知らないオプションです: {}", "unknown option '{}'"};
    case Refusal::kOneSource:
      return {"ソースは一つだけです", "one source at a time"};
    case Refusal::kNoSource:
      return {"ソースがありません", "no source given"};
    case Refusal::kNone:
      break;
  }
  return {"", ""};
}

// The names a build writes: the C file as the translator names it, and
// for build the program: -o NAME, else the C file's name without ".c".
// run builds its program in a scratch folder and needs no name for it.
struct Names {
  std::string c_file;
  std::string program;
};

std::optional<Names> names_for(const Command& command, Reporter& reporter) {
  const std::optional<std::string> c_file = output_name_for(command.source);
  if (!c_file) {
    reporter.error({"{} は短すぎる名前です。プログラム.zem の形にしてください",
                    "{} is too short a name for a source; name it PROGRAM.zem"},
                   {command.source});
    return std::nullopt;
  }
  Names names{*c_file, command.output};
  if (command.verb == Verb::kBuild && names.program.empty()) {
    names.program = c_file->substr(0, c_file->size() - 2);
    if (names.program.empty() || names.program.ends_with('/')) {
      reporter.error(
          {"{} からは実行ファイルの名前が作れません。-o で名前を付けてください",
           "no program name can be made from {}; give one with -o"},
          {command.source});
      return std::nullopt;
    }
  }
  return names;
}

// Reads, converts and translates the source, and writes the C file whole.
// Returns 0 or the exit status of the failure.
// The source as the translator reads it, or nothing after a report.
std::optional<std::string> load_source(const Command& command,
                                       Reporter& reporter) {
  const std::optional<std::string> bytes = read_file(command.source, reporter);
  if (!bytes) return std::nullopt;
  return source_as_sjis(*bytes, command.source, reporter);
}

// The findings of the check, rendered for the terminal; empty when there
// are none.
std::string findings_of(const Command& command, const std::string& source,
                        const Reporter& reporter) {
  return check::render_findings(command.source, source,
                                check::check_source(source),
                                reporter.language(), reporter.terminal());
}

int translate_to_disk(const Command& command, const Names& names,
                      Reporter& reporter) {
  const std::optional<std::string> source = load_source(command, reporter);
  if (!source) return kExitTranslationFailed;
  // What the check finds is told before the build, which goes on.
  reporter.write(findings_of(command, *source, reporter));
  const std::optional<std::string> c_text =
      translate_source(command.source, *source, reporter);
  if (!c_text) return kExitTranslationFailed;
  if (!write_whole_file(names.c_file, *c_text)) {
    reporter.error({"{} を書けません: {}", "cannot write {}: {}"},
                   {names.c_file, std::strerror(errno)});
    return kExitTranslationFailed;
  }
  return 0;
}

// The status with which an interrupted build ends, when the held signal
// does not end the process first.
constexpr int kExitInterrupted = 128 + SIGINT;

// Translates, then builds `program`; 0 or the status of the failure. The
// caller holds the ending signals back, so that an interrupted build
// cleans up before the signal ends zemuc.
int translate_and_build(const Command& command, const Names& names,
                        const std::string& program, Reporter& reporter) {
  if (const int status = translate_to_disk(command, names, reporter)) {
    return status;
  }
  const std::optional<Toolchain> toolchain = find_toolchain(reporter);
  if (!toolchain) return kExitBuildFailed;
  switch (build_program(*toolchain, names.c_file, program, reporter)) {
    case BuildResult::kBuilt:
      return 0;
    case BuildResult::kFailed:
      return kExitBuildFailed;
    case BuildResult::kInterrupted:
      return kExitInterrupted;
  }
  return kExitBuildFailed;
}

int build(const Command& command, Reporter& reporter) {
  const std::optional<Names> names = names_for(command, reporter);
  if (!names) return kExitUsage;
  HeldSignals held;
  return translate_and_build(command, *names, names->program, reporter);
}

int run(const Command& command, Reporter& reporter) {
  const std::optional<Names> names = names_for(command, reporter);
  if (!names) return kExitUsage;
  // Held from here to the end, so that every way out removes the scratch
  // folder first: the folder goes before the hold ends and a signal that
  // came meanwhile ends zemuc.
  const HeldSignals held;
  // The program is built where it is not seen, and goes as soon as it runs.
  std::optional<ScratchFolder> folder = ScratchFolder::make();
  if (!folder) {
    reporter.error(
        {"一時フォルダを作れません: {}", "cannot make a scratch folder: {}"},
        {std::strerror(errno)});
    return kExitBuildFailed;
  }
  const std::string program = folder->path() + "/program";
  if (const int status =
          translate_and_build(command, *names, program, reporter)) {
    return status;
  }
  if (ending_signal_pending()) return kExitInterrupted;
  const std::optional<Ended> ended = run_on_pseudo_terminal(
      program, reporter.terminal(), STDIN_FILENO, STDOUT_FILENO,
      held.previous(), [&folder] { folder.reset(); });
  if (!ended) {
    reporter.error(
        {"プログラムを動かせません: {}", "cannot run the program: {}"},
        {std::strerror(errno)});
    return kExitBuildFailed;
  }
  return ended->status;
}

// Status 0 when nothing is found, 1 when something is, 2 when the source
// cannot be read.
int check_only(const Command& command, Reporter& reporter) {
  const std::optional<std::string> source = load_source(command, reporter);
  if (!source) return kExitUsage;
  const std::string findings = findings_of(command, *source, reporter);
  write_all(STDOUT_FILENO, findings);
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

}  // namespace

int run_zemuc(std::span<const char* const> args) {
  restore_child_signal();
  Reporter reporter(message_language(), terminal_encoding());
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
      write_all(STDOUT_FILENO, reporter.format(kUsage, {}));
      return 0;
    case Verb::kVersion:
      write_all(STDOUT_FILENO, "zemuc " ZEMUC_VERSION "\n");
      return 0;
    case Verb::kBuild:
      return build(command, reporter);
    case Verb::kRun:
      return run(command, reporter);
    case Verb::kCheck:
      return check_only(command, reporter);
    case Verb::kLsp:
      return lsp::serve(STDIN_FILENO, STDOUT_FILENO,
                        {reporter.language(), ZEMUC_VERSION});
  }
  return kExitUsage;
}

}  // namespace zemuc
