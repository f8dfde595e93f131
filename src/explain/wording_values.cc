// The rows of the wordings for a value used before it gets a value: the
// compilers' warnings, gcc's second look and clang's analyser as zemuc run
// reads them, and the browser's clang's loop warning.
#include <string>
#include <string_view>

#include "explain/names.h"
#include "explain/wording_rows.h"

namespace zemuc::explain {
namespace {

constexpr Text kUsedBeforeValue = {"{name} に値を入れる前に使っています",
                                   "{name} is used before it gets a value"};
// The optimiser's "may": on some path, perhaps one the program never takes.
constexpr Text kMayBeUsedBeforeValue = {
    "{name} に値を入れる前に使うことがあるかもしれません",
    "{name} may be used before it gets a value"};

// The C name of a variable used before it gets a value, said as a number
// or a text variable of the learner's where it is one; `text` says whether
// that is certain.
void tell_value_missing(const Reading& r, Told& told, std::string_view c_name,
                        const Text& text = kUsedBeforeValue) {
  if (const auto v = learner_name(r.program, c_name);
      v && (v->kind == LearnerName::Kind::kNumber ||
            v->kind == LearnerName::Kind::kText)) {
    const std::string shown = said(*v, r.language);
    name(r, told, text, {{"name", shown}});
    point_at(r, told, shown);
    told.value_missing = shown;
  }
}

}  // namespace

void used_before_value(const Reading& r, Told& told) {
  tell_value_missing(r, told, quoted(r.message.text));
}

// The browser's build asks clang for its loop warning
// (-Wconditional-uninitialized), its only look at a value used before it
// gets a value inside a loop: a use inside the loop is one on the loop's
// first round. clang does not know that a くり返し runs at least once, so a
// use after the loop of a value set inside it says nothing.
void used_in_loop(const Reading& r, Told& told) {
  if (!inside_loop(r.program, r.place->line)) {
    told.left_out = true;
    return;
  }
  tell_value_missing(r, told, quoted(r.message.text));
}

void may_be_used_before_value(const Reading& r, Told& told) {
  tell_value_missing(r, told, quoted(r.message.text), kMayBeUsedBeforeValue);
}

// clang's analyser says what a value never set is used for ("The left
// operand of '+' is a garbage value", "2nd function call argument is an
// uninitialized value" ...), and names the variable in a note of its own:
// "'nn1' declared without an initial value". Empty when no note does.
std::string declared_without_value(const CompilerMessage& message) {
  for (const std::string& note : message.notes) {
    if (note.find(" declared without an initial value") != std::string::npos) {
      return quoted(note);
    }
  }
  return {};
}

void garbage_value(const Reading& r, Told& told) {
  tell_value_missing(r, told, declared_without_value(r.message));
}

}  // namespace zemuc::explain
