#include "explain/names.h"

#include "text/encoding.h"

namespace zemuc::explain {
namespace {

// The number after `prefix` when the whole word is the prefix and digits
// without a leading zero; 0 otherwise.
std::size_t numbered(std::string_view word, std::string_view prefix) {
  if (!word.starts_with(prefix) || word.size() == prefix.size() ||
      word[prefix.size()] == '0') {
    return 0;
  }
  std::size_t n = 0;
  for (const char c : word.substr(prefix.size())) {
    if (c < '0' || c > '9' || n > 100'000'000) return 0;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  return n;
}

}  // namespace

std::optional<LearnerName> learner_name(const Program& program,
                                        std::string_view c_name) {
  const SymbolTables& tables = program.tables();
  if (const std::size_t n =
          std::max(numbered(c_name, "nn"), numbered(c_name, "cc"));
      n != 0 && n <= tables.variables.count() &&
      tables.variables.c_name(n) == c_name) {
    const Variable& v = tables.variables[n];
    return LearnerName{v.prop == kNumeric ? LearnerName::Kind::kNumber
                                          : LearnerName::Kind::kText,
                       std::string(v.name), 0, n};
  }
  if (const std::size_t n = numbered(c_name, "fp");
      n != 0 && n <= tables.files.count()) {
    return LearnerName{LearnerName::Kind::kFile,
                       std::string(tables.files[n].name), 0, n};
  }
  if (const std::size_t n = numbered(c_name, "rep");
      n != 0 && n <= tables.counters.declared) {
    return LearnerName{LearnerName::Kind::kCounter, "", program.counter_line(n),
                       n};
  }
  if (c_name == "dummy") {
    return LearnerName{LearnerName::Kind::kLineBuffer, "", 0, 0};
  }
  return std::nullopt;
}

std::string said(const LearnerName& name, Language language) {
  switch (name.kind) {
    case LearnerName::Kind::kCounter:
      if (name.line == 0) {
        return fill({"くり返しの回数", "the counter of a くり返し"}, language,
                    {});
      }
      return fill(
          {"{} 行目のくり返しの回数", "the counter of the くり返し on line {}"},
          language, {std::to_string(name.line)});
    case LearnerName::Kind::kLineBuffer:
      return fill({"行を読む場所 (書き換えが用意するもの)",
                   "the line buffer the translator declares"},
                  language, {});
    default:
      return convert_text(name.sjis, Encoding::kShiftJis, Encoding::kUtf8);
  }
}

std::string rename_c_names(const Program& program, std::string_view text,
                           Language language) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!is_word_byte(text[i])) {
      out += text[i++];
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && is_word_byte(text[end])) ++end;
    const std::string_view word = text.substr(i, end - i);
    const std::optional<LearnerName> name = learner_name(program, word);
    out += name ? said(*name, language) : std::string(word);
    i = end;
  }
  return out;
}

}  // namespace zemuc::explain
