// One message flows one way: read from the compiler's output, placed on
// the learner's line, given the learner's names, then phrased by the row
// of its wording; then what the shape of the program explains is left out
// and the rest is shown.
#include "explain/explain.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "explain/compiler_output.h"
#include "explain/names.h"
#include "explain/place.h"
#include "explain/shape.h"
#include "explain/told.h"
#include "explain/wording.h"

namespace zemuc::explain {
namespace {

// The message as the learner is told it; nothing for a message left out.
std::optional<Told> told_of(const Program& program, const CopyMap& map,
                            const CompilerMessage& message, Language language) {
  if (message.severity == Severity::kNote) return std::nullopt;
  const MessagePlace place = place_message(program, map, message);
  const bool learner_line = place.learner_line();
  if (message.severity == Severity::kWarning && !learner_line) {
    return std::nullopt;
  }
  Told told;
  told.severity = message.severity;
  told.file = place.file;
  told.line = place.line;
  told.column = place.column;
  told.whole_program = place.whole_program;
  if (place.source) {
    told.line = place.source->line;
    told.column = place.source->column;
    told.frame = place.source->frame;
  }
  told.words = message.text;
  told.text = rename_c_names(program, message.text, language);
  if (learner_line) told.text = said_as_keywords(program, told.text, told.line);
  phrase({program, language, message, learner_line ? &*place.source : nullptr},
         told);
  if (told.left_out) return std::nullopt;
  // A statement's C is the translator's, but for the learner's names
  // and texts: of its warnings only a value missing is the learner's,
  // and those about what stands before the keyword.
  if (message.severity == Severity::kWarning && !told.plain &&
      place.in_statement) {
    return std::nullopt;
  }
  return told;
}

// What a failed build leaves out: warnings, and the frame's errors when a
// learner's line has one (the frame is the translator's fixed text, so an
// error there follows from it); the shape's errors come in their place.
void keep_what_failed(std::vector<Told>& told, const Shape& shape,
                      Language language) {
  std::erase_if(told,
                [](const Told& t) { return t.severity == Severity::kWarning; });
  for (Told& error : shape.errors(language)) told.push_back(std::move(error));
  if (std::any_of(told.begin(), told.end(), [](const Told& t) {
        return t.severity == Severity::kError && names_line(t);
      })) {
    std::erase_if(told, [](const Told& t) { return t.frame; });
  }
}

// The label at the end of main, where a file statement's C goes when its
// file fails: once main is closed early, it stands outside main.
constexpr std::string_view kEndLabel = "'ERROR_END'";

// Once a sentence of its own tells a line, the compiler's other words on
// it add nothing, nor a sentence that follows from the others, nor a
// second one of those, nor anything of the lines after one that closed
// main early, nor of the label at its end. What remains goes by line; what
// names no line, after.
void order(std::vector<Told>& told) {
  // After a line that closes main early, every line stands outside it;
  // the shape's errors (no compiler's words) are the learner's own still.
  std::size_t outside_main = SIZE_MAX;
  for (const Told& t : told) {
    if (t.closes_main && names_line(t)) {
      outside_main = std::min(outside_main, t.line);
    }
  }
  std::erase_if(told, [&](const Told& t) {
    return outside_main != SIZE_MAX && names_line(t) && !t.words.empty() &&
           !t.closes_main &&
           (t.line > outside_main ||
            t.words.find(kEndLabel) != std::string::npos);
  });
  std::set<std::size_t> told_plainly;
  for (const Told& t : told) {
    if (t.plain && !t.follows_others && names_line(t)) {
      told_plainly.insert(t.line);
    }
  }
  std::set<std::size_t> followed;
  std::erase_if(told, [&](const Told& t) {
    if (!names_line(t)) return false;
    if (t.follows_others) {
      return told_plainly.contains(t.line) || !followed.insert(t.line).second;
    }
    return !t.plain &&
           (told_plainly.contains(t.line) || followed.contains(t.line));
  });
  const auto key = [](const Told& t) {
    return t.line != 0 && t.file.empty() ? t.line : SIZE_MAX;
  };
  std::stable_sort(told.begin(), told.end(), [&](const Told& a, const Told& b) {
    return key(a) < key(b);
  });
}

Explanation shown(const Program& program, const std::vector<Told>& told,
                  Language language, Encoding terminal) {
  Explanation explanation;
  for (const Told& t : told) {
    const ValueMissing missing{t.line, t.value_missing};
    if (!missing.name.empty() &&
        std::find(explanation.values_missing.begin(),
                  explanation.values_missing.end(),
                  missing) == explanation.values_missing.end()) {
      explanation.values_missing.push_back(missing);
    }
  }
  std::set<std::string> seen;
  for (const Told& t : told) {
    std::string text = render(program, t, language, terminal);
    if (!seen.insert(text).second) continue;
    explanation.shown += text;
    if (t.severity == Severity::kError) {
      explanation.errors = true;
      if ((t.line != 0 && t.file.empty()) || t.frame || t.whole_program) {
        explanation.source_errors = true;
      }
    }
  }
  return explanation;
}

}  // namespace

std::vector<Told> build_messages(const Program& program, const CopyMap& map,
                                 std::string_view output, bool failed,
                                 Language language) {
  std::vector<Told> told;
  for (const CompilerMessage& message : parse_compiler_output(output)) {
    if (std::optional<Told> t = told_of(program, map, message, language)) {
      told.push_back(std::move(*t));
    }
  }
  // The shape's findings were told before the build: what only follows
  // from them goes, and when the build failed each is an error of its own.
  const Shape shape(program);
  std::erase_if(told, [&](const Told& t) { return shape.explains(t); });
  if (failed) keep_what_failed(told, shape, language);
  order(told);
  return told;
}

Explanation explain_build(const Program& program, const CopyMap& map,
                          std::string_view output, bool failed,
                          Language language, Encoding terminal) {
  return shown(program, build_messages(program, map, output, failed, language),
               language, terminal);
}

}  // namespace zemuc::explain
