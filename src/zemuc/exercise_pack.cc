#include "zemuc/exercise_pack.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>

#include "exercise/compare.h"
#include "io/files.h"
#include "sys/disk.h"
#include "text/encoding.h"
#include "zemuc/exercise_commands.h"
#include "zemuc/exercise_folder.h"

namespace zemuc {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A file of the folder as text for the page: UTF-8 as it is, anything
// else read as Shift-JIS.
std::string text_of(const std::string& path) {
  const std::string bytes = read_whole_file(path).value_or("");
  return is_valid_utf8(bytes)
             ? bytes
             : convert_text(bytes, Encoding::kShiftJis, Encoding::kUtf8);
}

// The files of a folder by their names under it, as text.
json files_of(const std::string& folder) {
  json files = json::object();
  if (folder.empty()) return files;
  std::error_code error;
  for (auto entry = fs::recursive_directory_iterator(folder, error);
       !error && entry != fs::recursive_directory_iterator();
       entry.increment(error)) {
    if (entry->is_directory()) continue;
    files[fs::relative(entry->path(), folder).string()] =
        text_of(entry->path().string());
  }
  return files;
}

json settings_json(const exercise::CaseSettings& settings) {
  return {{"time_limit", settings.time_limit},
          {"compare", exercise::compare_name(settings.compare)},
          {"fullwidth", settings.fullwidth},
          {"points", settings.points}};
}

// What a hidden case's expected text becomes: the hash of it as compared.
std::string hidden_hash(const std::string& text,
                        const exercise::CaseSettings& settings) {
  return sha256_hex(
      exercise::normalised(text, settings.compare, settings.fullwidth));
}

json case_json(const ExerciseCase& one,
               const exercise::CaseSettings& settings) {
  json out = settings_json(settings);
  out["name"] = one.name;
  out["hidden"] = one.hidden;
  out["input"] = one.input.empty() ? "" : text_of(one.input);
  out["files"] = files_of(one.files);
  const std::string expected = text_of(one.output);
  json expect = files_of(one.expect);
  if (!one.hidden) {
    out["output"] = expected;
    out["expect"] = expect;
    return out;
  }
  out["output_sha256"] = hidden_hash(expected, settings);
  for (auto& [name, text] : expect.items()) {
    text = hidden_hash(text.get<std::string>(), settings);
  }
  out["expect_sha256"] = expect;
  return out;
}

json exercise_json(const Exercise& exercise) {
  const fs::path folder(exercise.folder);
  const fs::path starter = folder / "starter.zem";
  json cases = json::array();
  for (const ExerciseCase& one : exercise.cases) {
    cases.push_back(case_json(one, settings_of(exercise, one)));
  }
  return {
      {"id", exercise.id},
      {"title", exercise.settings.title},
      {"statement", text_of((folder / exercise.settings.statement).string())},
      {"starter",
       fs::is_regular_file(starter) ? text_of(starter.string()) : ""},
      {"settings", settings_json(exercise.settings.defaults)},
      {"cases", cases}};
}

}  // namespace

std::string sha256_hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(),
                 nullptr) != 1) {
    return "";
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0xF];
  }
  return hex;
}

int pack_exercises(const std::vector<std::string>& folders,
                   const std::string& output, Reporter& reporter) {
  json exercises = json::array();
  for (const std::string& folder : folders) {
    const std::optional<Exercise> exercise = read_exercise(folder, reporter);
    if (!exercise) return kExitBadExercise;
    for (const ExerciseCase& one : exercise->cases) {
      if (!one.output.empty()) continue;
      reporter.error(
          {"{}: 例 {} に .out がありません", "{}: case {} has no .out"},
          {folder, one.name});
      return kExitBadExercise;
    }
    exercises.push_back(exercise_json(*exercise));
  }
  const json packed = {{"version", 1}, {"exercises", exercises}};
  if (!write_whole_file(
          output,
          packed.dump(1, ' ', false, json::error_handler_t::replace) + "\n")) {
    reporter.error(kCannotWrite, {output, std::strerror(errno)});
    return kExitSomeFailed;
  }
  return 0;
}

}  // namespace zemuc
