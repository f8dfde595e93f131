// Hover: what the word under the cursor is to the translator, and the C
// text its line becomes, exactly as prog.c holds it.
#include <string>

#include "lsp/features.h"
#include "lsp/words.h"
#include "symbols/c_names.h"
#include "text/encoding.h"

namespace zemuc::lsp {
namespace {

std::string about_variable(const Analysis& analysis, const Spot& spot,
                           Language language) {
  const Variable& variable = analysis.tables().variables[spot.index];
  const Spot* first = analysis.first_spot(spot.kind, spot.index);
  const std::string line = std::to_string(first ? first->line : spot.line);
  return fill({"{name}: {kind}の変数、C では {c}。最初に出るのは {line} 行目",
               "{name}: {kind} variable, {c} in C, first named on line {line}"},
              language,
              std::initializer_list<NamedArg>{
                  {"name", utf8_of(variable.name)},
                  {"kind", variable.prop == kNumeric
                               ? pick(language, "数", "number")
                               : pick(language, "文字列", "text")},
                  {"c", variable.c_name},
                  {"line", line}});
}

std::string about_file(const Analysis& analysis, const Spot& spot,
                       Language language) {
  const FileEntry& file = analysis.tables().files[spot.index];
  const Spot* first = analysis.first_spot(spot.kind, spot.index);
  const std::string line = std::to_string(first ? first->line : spot.line);
  const std::string c_name = spelled(analysis.tables().files.var(spot.index));
  return fill(
      {"{name}: {mode}ファイル {path}、C では {c}。最初に開くのは {line} 行目",
       "{name}: file {path} opened to {mode}, {c} in C, opened on line "
       "{line}"},
      language,
      std::initializer_list<NamedArg>{
          {"name", utf8_of(file.name)},
          {"mode", file.prop == kReadMode ? pick(language, "読む", "read")
                                          : pick(language, "書く", "write")},
          {"path", utf8_of(file.fname)},
          {"c", c_name},
          {"line", line}});
}

std::string about_keyword(const Spot& spot, Language language) {
  const auto keyword = static_cast<Keyword>(spot.index);
  std::string text = usual_form(keyword, language) + ": " +
                     statement_description(keyword, language);
  if (!spot.statement) {
    text += pick(language, "(この行では最初の命令ではないので訳されない)",
                 " (not translated here: it is not the line's first)");
  }
  return text;
}

// A fence that no run of backquotes in `code` closes.
std::string fence_for(std::string_view code) {
  std::size_t longest = 0;
  std::size_t run = 0;
  for (const char c : code) {
    run = c == '`' ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return std::string(std::max<std::size_t>(3, longest + 1), '`');
}

std::string c_text_part(const Analysis& analysis, std::size_t line,
                        const Session& session) {
  const Translation& translation = analysis.translation();
  const std::string_view c_text = translation.c_text_of(line);
  if (c_text.empty()) {
    if (translation.rejected.number != 0 &&
        line >= translation.rejected.number) {
      return fill({"翻訳は {} 行目で止まるので、この行は C になりません",
                   "the translation stops at line {}, so this line becomes "
                   "no C"},
                  session.language,
                  {std::to_string(translation.rejected.number)});
    }
    return std::string(pick(session.language, "この行は C に何も書きません",
                            "this line writes nothing into the C"));
  }
  std::string code = utf8_of(c_text);
  if (!code.ends_with('\n')) code += '\n';
  const std::string heading = fill({"{} 行目の C:", "line {} in C:"},
                                   session.language, {std::to_string(line)});
  if (!session.markdown) return heading + "\n" + code;
  const std::string fence = fence_for(code);
  return heading + "\n" + fence + "c\n" + code + fence;
}

}  // namespace

std::optional<HoverText> hover(Document& document, Position position,
                               const Session& session) {
  const DocumentText& text = document.text();
  const std::size_t offset = text.offset_of(position, session.encoding);
  // A line past the last one, or the empty one after the last line feed,
  // holds no line of the program, though its offset, the end of the text,
  // lies in the last one.
  if (position.line >= text.line_count() ||
      (offset == text.text().size() && text.text().ends_with('\n'))) {
    return std::nullopt;
  }
  const Analysis& analysis = document.analysis();
  const std::size_t line = analysis.line_at(offset);
  if (line == 0 || line > analysis.line_count()) return std::nullopt;
  std::string value;
  const Spot* spot = analysis.spot_at(offset);
  if (spot != nullptr) {
    switch (spot->kind) {
      case Spot::Kind::kVariable:
        value = about_variable(analysis, *spot, session.language);
        break;
      case Spot::Kind::kFile:
        value = about_file(analysis, *spot, session.language);
        break;
      case Spot::Kind::kKeyword:
        value = about_keyword(*spot, session.language);
        break;
    }
    value += "\n\n";
  }
  value += c_text_part(analysis, line, session);
  HoverText result{std::move(value), session.markdown, std::nullopt};
  if (spot != nullptr) {
    PositionCursor cursor(document.text(), session.encoding);
    result.range = range_of(cursor, spot->span);
  }
  return result;
}

}  // namespace zemuc::lsp
