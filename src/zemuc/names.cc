#include "zemuc/names.h"

#include "driver/output_name.h"
#include "sys/disk.h"

namespace zemuc {
namespace {

constexpr Text kIsTheSource = {"ソース {} そのものです",
                               "it is the source {} itself"};
constexpr Text kIsTheCFile = {"組み立てで書く C ファイル {} そのものです",
                              "it is the C file {} that the build writes"};
constexpr Text kNotAFile = {
    "ふつうのファイルではありません (装置、フォルダー、FIFO など)",
    "it is not a regular file (a device, a folder or a FIFO)"};

// Whether an output may take `name`: never the source itself nor the C
// file `c_file` (empty: none to compare), by any name, and never anything
// but a regular file; false after a report.
bool may_take(const std::string& name, const std::string& c_file,
              const Command& command, Reporter& reporter) {
  const std::string why = [&]() -> std::string {
    if (same_file(name, command.source)) {
      return reporter.format(kIsTheSource, {command.source});
    }
    // The C file need not exist yet.
    if (!c_file.empty() && same_place(name, c_file)) {
      return reporter.format(kIsTheCFile, {c_file});
    }
    if (const auto holds = what_name_holds(name);
        holds == NameHolds::kOther || holds == NameHolds::kFolder) {
      return reporter.format(kNotAFile, {});
    }
    return {};
  }();
  if (why.empty()) return true;
  reporter.error(kCannotWrite, {name, why});
  return false;
}

}  // namespace

std::optional<Names> names_for(const Command& command, Reporter& reporter) {
  const std::optional<std::string> c_file = output_name_for(command.source);
  if (!c_file) {
    reporter.error({"{} は短すぎる名前です。プログラム.zem の形にしてください",
                    "{} is too short a name for a source; name it PROGRAM.zem"},
                   {command.source});
    return std::nullopt;
  }
  // A source that is no file has no folder of its own to write beside.
  const bool beside = what_name_holds(command.source) != NameHolds::kOther;
  Names names{beside ? *c_file : "", command.output};
  if (command.verb == Verb::kBuild && names.program.empty()) {
    names.program = beside ? c_file->substr(0, c_file->size() - 2) : "";
    if (names.program.empty() || names.program.ends_with('/')) {
      reporter.error(
          {"{} からは実行ファイルの名前が作れません。-o で名前を付けてください",
           "no program name can be made from {}; give one with -o"},
          {command.source});
      return std::nullopt;
    }
  }
  if (!names.c_file.empty() && !may_take(names.c_file, "", command, reporter)) {
    return std::nullopt;
  }
  if (!names.program.empty() &&
      !may_take(names.program, names.c_file, command, reporter)) {
    return std::nullopt;
  }
  return names;
}

}  // namespace zemuc
