// The words for faults of the file statements' files: a file not open,
// and why its open failed; a write or read that failed. A null pointer or
// a bad address on a line that works on a file is a file not open.
#include <cerrno>
#include <cstring>
#include <span>

#include "explain/fault_parts.h"

namespace zemuc::explain {
namespace {

using Kind = SanitizerReport::Kind;

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

// Why a file did not open, or could not be written or read, from the C
// library's error number; kSystemSays for any other.
constexpr Text kNotAllowed = {
    "そのファイルかフォルダを使うことが許されていません",
    "the file or its folder may not be used here"};
constexpr struct {
  int error;
  Text why;
} kWhyTexts[] = {
    {ENOENT,
     {"そのファイルか、それを入れるフォルダがありません",
      "there is no such file, or no folder for it"}},
    {EACCES, kNotAllowed},
    {EPERM, kNotAllowed},
    {EROFS, kNotAllowed},
    {EISDIR,
     {"その名前はファイルではなくフォルダです",
      "that name is a folder, not a file"}},
    {ENOTDIR,
     {"途中の名前がフォルダではなくファイルです",
      "a name on the way to it is a file, not a folder"}},
    {ENOSPC, {"ディスクがいっぱいです", "the disk is full"}},
};
constexpr Text kSystemSays = {"システムの言葉では: {}", "the system says: {}"};

// A file statement that failed: which one, with or without the file's
// name.
constexpr struct {
  Kind kind;
  Text named;
  Text unnamed;
} kFileFailedTexts[] = {
    {Kind::kFileNotWritten,
     {"{file} のファイルに書けませんでした。{why}",
      "{file} could not be written: {why}"},
     {"ファイルに書けませんでした。{why}",
      "a file could not be written: {why}"}},
    {Kind::kFileNotRead,
     {"{file} のファイルを読めませんでした。{why}",
      "{file} could not be read: {why}"},
     {"ファイルを読めませんでした。{why}", "a file could not be read: {why}"}},
};

std::string why_failed(int error, Language language) {
  for (const auto& row : kWhyTexts) {
    if (row.error == error) return fill(row.why, language, {});
  }
  return fill(kSystemSays, language, {std::strerror(error)});
}

// The source line of a failed open: an 開く line of the learner's.
std::size_t open_line(const Program& program,
                      const SanitizerReport::FailedOpen& open) {
  if (!names_file(open.place.file, program.source_name())) return 0;
  const std::size_t line = open.place.line;
  if (line == 0 || line > program.line_count() ||
      program.line(line).keyword != Keyword::kOpen) {
    return 0;
  }
  return line;
}

// Why the file is not open: the last open that failed was of this file,
// and the C library said why; else the two ways it can come about.
std::string file_not_open(const Fault& fault, const LearnerName& file) {
  const Program& program = fault.program;
  const std::string name = said(file, fault.language);
  const auto& opens = fault.report.failed_opens;
  for (auto open = opens.rbegin(); open != opens.rend(); ++open) {
    const std::size_t line = open_line(program, *open);
    if (line == 0) continue;
    const auto opened = name_after(program, line, program.c_begin(line),
                                   LearnerName::Kind::kFile);
    if (!opened || opened->index != file.index) continue;
    const std::string why = why_failed(open->error, fault.language);
    const std::string at = std::to_string(line);
    const NamedArg args[] = {{"file", name}, {"line", at}, {"why", why}};
    return fill(kFileNotOpenBecause, fault.language, std::span(args));
  }
  return fill(kFileNotOpen, fault.language, {name});
}

}  // namespace

// A write, close or read that failed, on the file the line works on.
std::string tell_file_failed(const Fault& fault) {
  const std::string why = why_failed(fault.report.error, fault.language);
  for (const auto& row : kFileFailedTexts) {
    if (row.kind != fault.report.kind) continue;
    if (const auto file = file_of_line(fault)) {
      const std::string name = said(*file, fault.language);
      const NamedArg args[] = {{"file", name}, {"why", why}};
      return fill(row.named, fault.language, std::span(args));
    }
    const NamedArg args[] = {{"why", why}};
    return fill(row.unnamed, fault.language, std::span(args));
  }
  return fill(kOtherCheck, fault.language, {});
}

constexpr Text kFileClosed = {
    "{file} は閉じた後です: {line} 行目の 閉じる で閉じました。もう一度使う"
    "には 開く で開き直してください",
    "{file} is closed already: the 閉じる on line {line} closed it. Open it "
    "again with 開く to use it again"};
constexpr Text kSomeFileClosed = {
    "閉じたファイルをまた使いました。{line} 行目の 閉じる で閉じています",
    "a file is used after the 閉じる on line {line} closed it"};

// A file closed before, on the line of its close.
std::string tell_file_closed(const Fault& fault) {
  const std::string line = std::to_string(fault.report.closed_line);
  if (const auto file = file_of_line(fault)) {
    const std::string name = said(*file, fault.language);
    const NamedArg args[] = {{"file", name}, {"line", line}};
    return fill(kFileClosed, fault.language, std::span(args));
  }
  const NamedArg args[] = {{"line", line}};
  return fill(kSomeFileClosed, fault.language, std::span(args));
}

constexpr Text kNullPointer = {
    "何も指していないポインター (NULL) を使いました",
    "the program used a pointer that points to nothing (NULL)"};

std::string tell_bad_address(const Fault& fault) {
  if (const auto file = file_of_line(fault)) return file_not_open(fault, *file);
  if (fault.report.kind == Kind::kNullPointer || fault.report.null_address) {
    return fill(kNullPointer, fault.language, {});
  }
  return fill(kBadMemory, fault.language, {});
}

}  // namespace zemuc::explain
