#include "exercise/results.h"

#include <nlohmann/json.hpp>
#include <type_traits>
#include <utility>

#include "text/encoding.h"

namespace zemuc::exercise {
namespace {

// Why a case failed, in the general terms a hidden case is told in.
constexpr std::pair<Outcome, Text> kReasons[] = {
    {Outcome::kPassed, {"", ""}},
    {Outcome::kWrongOutput, {"出力が違います", "wrong output"}},
    {Outcome::kWrongFile,
     {"書いたファイルが違います", "a file it wrote is not as expected"}},
    {Outcome::kTooSlow,
     {"{} 秒のうちに終わりませんでした", "did not end within {} s"}},
    {Outcome::kStopped, {"検査で止まりました", "stopped by a check"}},
    {Outcome::kFault, {"途中で止まりました", "stopped part way"}},
    {Outcome::kNotRun, {"動かせませんでした", "could not be run"}},
};

// What the kind of a difference adds.
constexpr std::pair<Difference::Kind, Text> kKinds[] = {
    {Difference::Kind::kOther, {"", ""}},
    {Difference::Kind::kSpaces, {"違うのは空白だけです", "only spaces differ"}},
    {Difference::Kind::kLineEnd,
     {"違うのは行の終わりだけです", "only a line end differs"}},
    {Difference::Kind::kFullwidth,
     {"違うのは全角と半角だけです",
      "only full-width and half-width characters differ"}},
};

template <typename Key, std::size_t N>
Text row(const std::pair<Key, Text> (&table)[N], Key key) {
  for (const auto& [which, text] : table) {
    if (which == key) return text;
  }
  return {"", ""};
}

std::string seconds_text(double seconds) {
  std::string text = std::to_string(seconds);
  while (text.ends_with('0')) text.pop_back();
  if (text.ends_with('.')) text.pop_back();
  return text;
}

std::size_t width_of(std::string_view text) {
  std::size_t width = 0;
  while (!text.empty()) {
    width += display_width(code_point(text));
    text.remove_prefix(character_length(text, Encoding::kUtf8));
  }
  return width;
}

// The label, padded to `width` columns.
std::string padded(std::string_view label, std::size_t width) {
  std::string out(label);
  out.append(width - std::min(width, width_of(label)), ' ');
  return out;
}

std::string indented(std::string_view text, std::string_view indent) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? end : end - start);
    out.append(indent).append(line).append("\n");
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return out;
}

std::string difference_text(const CaseResult& result, Language language) {
  const Difference& d = *result.difference;
  std::string out =
      fill(d.words ? Text{"  {} 番目の語が違います:\n", "  word {} differs:\n"}
                   : Text{"  {} 行目が違います:\n", "  line {} differs:\n"},
           language, {std::to_string(d.unit)});
  const std::string nothing = fill({"(ありません)", "(nothing)"}, language, {});
  const std::string expected_label =
      fill({"正しい出力: ", "expected: "}, language, {});
  const std::string got_label = fill({"あなたの出力: ", "got: "}, language, {});
  const std::size_t width =
      std::max(width_of(expected_label), width_of(got_label));
  out += "    " + padded(expected_label, width) + d.expected.value_or(nothing) +
         "\n";
  out += "    " + padded(got_label, width) + d.got.value_or(nothing) + "\n";
  if (d.expected && d.got) {
    out += std::string(4 + width, ' ') + difference_marks(*d.expected, *d.got) +
           "\n";
  }
  const Text kind = row(kKinds, d.kind);
  if (!kind.english.empty()) out += "  " + fill(kind, language, {}) + "\n";
  return out;
}

}  // namespace

std::string case_line(const CaseResult& result, Language language) {
  const bool passed = result.outcome == Outcome::kPassed;
  std::string line = passed ? "○ " : "× ";
  const std::string number = std::to_string(result.number);
  line += result.hidden ? fill({"隠し {}", "hidden {}"}, language, {number})
                        : fill({"{} (例)", "{} (sample)"}, language, {number});
  if (!passed) {
    line += "  " + fill(row(kReasons, result.outcome), language,
                        {seconds_text(result.time_limit)});
  }
  return line + "\n";
}

std::string case_explanation(const CaseResult& result, Language language) {
  if (result.hidden || result.outcome == Outcome::kPassed) return "";
  std::string out =
      fill({"  入力:\n", "  typed:\n"}, language, {}) +
      (result.input.empty()
           ? fill({"    (なし)\n", "    (nothing)\n"}, language, {})
           : indented(result.input, "    "));
  if (result.outcome == Outcome::kWrongFile) {
    out += fill(result.file_missing
                    ? Text{"  ファイル {} が書かれていません\n",
                           "  file {} was not written\n"}
                    : Text{"  ファイル {} が違います\n", "  file {} differs\n"},
                language, {result.file});
    if (result.file_missing) return out;
  }
  if (result.difference) out += difference_text(result, language);
  if (!result.told.empty()) out += indented(result.told, "  ");
  return out;
}

std::string summary_line(std::span<const CaseResult> results,
                         Language language) {
  std::size_t passed = 0;
  int earned = 0;
  int total = 0;
  for (const CaseResult& result : results) {
    total += result.points;
    if (result.outcome != Outcome::kPassed) continue;
    ++passed;
    earned += result.points;
  }
  const std::string cases = std::to_string(results.size());
  const std::string passed_text = std::to_string(passed);
  const std::string earned_text = std::to_string(earned);
  const std::string total_text = std::to_string(total);
  const NamedArg args[] = {{"cases", cases},
                           {"passed", passed_text},
                           {"earned", earned_text},
                           {"total", total_text}};
  return fill({"{cases} 個のうち {passed} 個が通りました ({earned} / {total} "
               "点)\n",
               "{passed} of {cases} cases passed ({earned} / {total} "
               "points)\n"},
              language, std::span<const NamedArg>(args));
}

std::string results_text(std::span<const CaseResult> results,
                         Language language) {
  std::string out;
  bool explained = false;
  for (const CaseResult& result : results) {
    out += case_line(result, language);
    if (explained || result.hidden || result.outcome == Outcome::kPassed) {
      continue;
    }
    out += case_explanation(result, language);
    explained = true;
  }
  return out + summary_line(results, language);
}

namespace {

constexpr std::pair<Outcome, const char*> kOutcomeNames[] = {
    {Outcome::kPassed, "passed"},
    {Outcome::kWrongOutput, "wrong_output"},
    {Outcome::kWrongFile, "wrong_file"},
    {Outcome::kTooSlow, "too_slow"},
    {Outcome::kStopped, "stopped_by_check"},
    {Outcome::kFault, "fault"},
    {Outcome::kNotRun, "not_run"},
};

constexpr std::pair<Difference::Kind, const char*> kKindNames[] = {
    {Difference::Kind::kOther, "other"},
    {Difference::Kind::kSpaces, "spaces"},
    {Difference::Kind::kLineEnd, "line_end"},
    {Difference::Kind::kFullwidth, "fullwidth"},
};

template <typename Key, std::size_t N>
const char* name_of(const std::pair<Key, const char*> (&table)[N], Key key) {
  for (const auto& [which, name] : table) {
    if (which == key) return name;
  }
  return "";
}

nlohmann::json case_json(const CaseResult& result) {
  const bool passed = result.outcome == Outcome::kPassed;
  nlohmann::json out = {{"name", result.name},
                        {"number", result.number},
                        {"hidden", result.hidden},
                        {"result", name_of(kOutcomeNames, result.outcome)},
                        {"points", result.points},
                        {"earned", passed ? result.points : 0}};
  if (result.hidden) return out;
  out["input"] = result.input;
  if (!result.file.empty()) out["file"] = result.file;
  if (!result.told.empty()) out["told"] = result.told;
  if (const auto& d = result.difference) {
    out["difference"] = {
        {d->words ? "word" : "line", d->unit},
        {"expected",
         d->expected ? nlohmann::json(*d->expected) : nlohmann::json()},
        {"got", d->got ? nlohmann::json(*d->got) : nlohmann::json()},
        {"kind", name_of(kKindNames, d->kind)}};
  }
  return out;
}

template <typename Key, std::size_t N>
std::optional<Key> key_of(const std::pair<Key, const char*> (&table)[N],
                          const nlohmann::json& name) {
  if (!name.is_string()) return std::nullopt;
  for (const auto& [which, word] : table) {
    if (name.get<std::string>() == word) return which;
  }
  return std::nullopt;
}

// A member of `in`, or `otherwise` where it is missing or of another
// type: never an exception, which WebAssembly's build cannot catch.
template <typename T>
T field(const nlohmann::json& in, const char* key, T otherwise) {
  const auto found = in.find(key);
  if (found == in.end()) return otherwise;
  if constexpr (std::is_same_v<T, std::string>) {
    return found->is_string() ? found->get<T>() : otherwise;
  } else if constexpr (std::is_same_v<T, bool>) {
    return found->is_boolean() ? found->get<T>() : otherwise;
  } else {
    return found->is_number() ? found->get<T>() : otherwise;
  }
}

// A side of a difference: a line or word, or null where that side ended.
std::optional<std::string> side_of(const nlohmann::json& side) {
  if (!side.is_string()) return std::nullopt;
  return side.get<std::string>();
}

Difference difference_of(const nlohmann::json& in) {
  Difference d;
  d.words = in.contains("word");
  d.unit = field(in, d.words ? "word" : "line", std::size_t{1});
  d.expected = side_of(in.value("expected", nlohmann::json()));
  d.got = side_of(in.value("got", nlohmann::json()));
  d.kind = key_of(kKindNames, in.value("kind", nlohmann::json()))
               .value_or(Difference::Kind::kOther);
  return d;
}

}  // namespace

std::string case_result_json(const CaseResult& result) {
  return case_json(result).dump(-1, ' ', false,
                                nlohmann::json::error_handler_t::replace);
}

std::optional<CaseResult> case_result_from_json(std::string_view json,
                                                double time_limit) {
  const nlohmann::json in = nlohmann::json::parse(json, nullptr, false);
  if (!in.is_object()) return std::nullopt;
  const std::optional<Outcome> outcome =
      key_of(kOutcomeNames, in.value("result", nlohmann::json()));
  if (!outcome || !in.value("name", nlohmann::json()).is_string()) {
    return std::nullopt;
  }
  CaseResult result;
  result.outcome = *outcome;
  result.name = in["name"].get<std::string>();
  result.hidden = field(in, "hidden", false);
  result.number = field(in, "number", std::size_t{0});
  result.points = field(in, "points", 0);
  result.time_limit = time_limit;
  result.input = field(in, "input", std::string());
  result.file = field(in, "file", std::string());
  result.told = field(in, "told", std::string());
  if (in.contains("difference") && in["difference"].is_object()) {
    result.difference = difference_of(in["difference"]);
  }
  // A file that differs has its difference; one missing has none.
  result.file_missing =
      *outcome == Outcome::kWrongFile && !result.difference && !result.hidden;
  return result;
}

std::string results_json(std::span<const CaseResult> results, bool built,
                         const std::string& build_error) {
  nlohmann::json cases = nlohmann::json::array();
  std::size_t passed = 0;
  int earned = 0;
  int total = 0;
  for (const CaseResult& result : results) {
    cases.push_back(case_json(result));
    total += result.points;
    if (result.outcome != Outcome::kPassed) continue;
    ++passed;
    earned += result.points;
  }
  nlohmann::json out = {{"built", built},
                        {"passed", passed},
                        {"cases_count", results.size()},
                        {"earned", earned},
                        {"points", total},
                        {"all_passed", built && passed == results.size()},
                        {"cases", cases}};
  if (!built) out["build_error"] = build_error;
  // Text that is not UTF-8 (a program's stray bytes) is replaced, not
  // refused.
  return out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) +
         "\n";
}

}  // namespace zemuc::exercise
