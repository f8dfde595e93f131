// judge and results: an exercise's case judged after the page ran it, and
// the cases' results told, by the functions zemuc test uses, so that the
// page shows and hands in zemuc test's words and JSON.
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "exercise/compare.h"
#include "exercise/judge.h"
#include "exercise/results.h"
#include "front/statuses.h"
#include "web/answers.h"
#include "web/commands.h"

namespace zemuc::web {
namespace {

using nlohmann::json;

// The status a wrong case.json, run.json or results.json exits with.
constexpr int kStatusWrongInput = 2;

// A JSON file of the working folder; not an object when it is missing or
// malformed.
json read_json(const std::string& name) {
  const std::optional<std::string> text = read_area_file(name);
  if (!text) return json();
  return json::parse(*text, nullptr, false);
}

int wrong_input(const char* file) {
  // Nothing is left to tell a failure of this one with.
  (void)std::fprintf(stderr, "zemucweb: %s: not what the command reads\n",
                     file);
  return kStatusWrongInput;
}

// The members of `object` read leniently: a missing or wrong-typed one is
// the default, never an abort (no exceptions in WebAssembly).
const json& member(const json& object, const char* key) {
  static const json kNone;
  const auto found = object.find(key);
  return found == object.end() ? kNone : *found;
}

std::string text_at(const json& object, const char* key) {
  const json& value = member(object, key);
  return value.is_string() ? value.get<std::string>() : "";
}

double number_at(const json& object, const char* key, double otherwise) {
  const json& value = member(object, key);
  return value.is_number() ? value.get<double>() : otherwise;
}

bool flag_at(const json& object, const char* key) {
  const json& value = member(object, key);
  return value.is_boolean() && value.get<bool>();
}

exercise::Texts texts_at(const json& object, const char* key) {
  exercise::Texts texts;
  const json& value = member(object, key);
  if (!value.is_object()) return texts;
  for (const auto& [name, text] : value.items()) {
    if (text.is_string()) texts[name] = text.get<std::string>();
  }
  return texts;
}

exercise::CaseSettings settings_of(const json& one) {
  exercise::CaseSettings settings;
  settings.time_limit = number_at(one, "time_limit", settings.time_limit);
  settings.compare = exercise::compare_named(text_at(one, "compare"))
                         .value_or(settings.compare);
  settings.fullwidth = flag_at(one, "fullwidth");
  settings.points = static_cast<int>(number_at(one, "points", settings.points));
  return settings;
}

exercise::Expected expected_of(const json& one) {
  exercise::Expected expected;
  expected.hashed = flag_at(one, "hidden");
  expected.output = text_at(one, expected.hashed ? "output_sha256" : "output");
  expected.files = texts_at(one, expected.hashed ? "expect_sha256" : "expect");
  return expected;
}

// How the run ended: explain-run's status 70 is a check's stop, 128 and
// above a fault; what was told only of those and of a run not started.
exercise::Ending ending_of(const json& run) {
  const std::string ending = text_at(run, "ending");
  if (ending == "too_slow") return exercise::Ending::kTooSlow;
  if (ending == "not_run") return exercise::Ending::kNotRun;
  const double status = number_at(run, "status", 0);
  if (status == kExitCheckFailed) return exercise::Ending::kStopped;
  if (status >= 128) return exercise::Ending::kFault;
  return exercise::Ending::kEnded;
}

exercise::Ran ran_of(const json& run, bool hashed) {
  exercise::Ran ran;
  ran.ending = ending_of(run);
  if (ran.ending != exercise::Ending::kEnded) ran.told = text_at(run, "told");
  const json& got = hashed ? member(run, "got_sha256") : run;
  ran.output = text_at(got, "output");
  ran.files = texts_at(got, "files");
  return ran;
}

// A hidden case's texts as its comparison normalises them, those of the
// files it expects, for the page to hash.
json normalised_texts(const json& run, const exercise::Expected& expected,
                      const exercise::CaseSettings& settings) {
  const auto normal = [&settings](const std::string& text) {
    return exercise::normalised(text, settings.compare, settings.fullwidth);
  };
  json files = json::object();
  for (const auto& [name, text] : texts_at(run, "files")) {
    if (expected.files.contains(name)) files[name] = normal(text);
  }
  return {{"normalised",
           {{"output", normal(text_at(run, "output"))}, {"files", files}}}};
}

}  // namespace

int judge(const Arguments& arguments) {
  const json one = read_json("case.json");
  const json run = read_json("run.json");
  if (!one.is_object() || !member(one, "name").is_string()) {
    return wrong_input("case.json");
  }
  if (!run.is_object()) return wrong_input("run.json");
  const exercise::CaseSettings settings = settings_of(one);
  const exercise::Expected expected = expected_of(one);
  if (expected.hashed && ending_of(run) == exercise::Ending::kEnded &&
      !member(run, "got_sha256").is_object()) {
    return print_answer(normalised_texts(run, expected, settings));
  }
  exercise::CaseResult about;
  about.name = text_at(one, "name");
  about.hidden = expected.hashed;
  about.number = static_cast<std::size_t>(number_at(one, "number", 0));
  about.input = text_at(one, "input");
  const exercise::CaseResult result = exercise::judge_case(
      std::move(about), settings, expected, ran_of(run, expected.hashed));
  return print_answer(
      {{"result", json::parse(exercise::case_result_json(result))},
       {"line", exercise::case_line(result, arguments.language)},
       {"explanation",
        exercise::case_explanation(result, arguments.language)}});
}

int results(const Arguments& arguments) {
  const json in = read_json("results.json");
  if (!in.is_object() || !member(in, "results").is_array()) {
    return wrong_input("results.json");
  }
  std::vector<exercise::CaseResult> cases;
  for (const json& item : in["results"]) {
    std::optional<exercise::CaseResult> one = exercise::case_result_from_json(
        item.dump(), number_at(item, "time_limit", 2));
    if (!one) return wrong_input("results.json");
    cases.push_back(std::move(*one));
  }
  const bool built = flag_at(in, "built");
  std::string text;
  if (built) {
    text = exercise::results_text(cases, arguments.language);
  } else {
    keeping_reporter(arguments.language, text).error(exercise::kNotBuilt);
  }
  return print_answer({{"json", json::parse(exercise::results_json(
                                    cases, built, text_at(in, "build_error")))},
                       {"text", text}});
}

}  // namespace zemuc::web
