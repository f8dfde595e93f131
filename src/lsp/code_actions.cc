// Code actions: a mend only for the findings whose mend is certain, and
// only once the translator's own keyword scan, run over the mended line,
// reads what the mend promises. Findings whose mend needs a choice (a
// label to add, a statement to move, a space that was perhaps meant) get
// none.
#include <algorithm>
#include <optional>
#include <string>

#include "lexer/keywords.h"
#include "lexer/raw_offsets.h"
#include "lexer/sjis_texts.h"
#include "lexer/tokenizer.h"
#include "lsp/features.h"
#include "text/columns.h"
#include "text/encoding.h"

namespace zemuc::lsp {
namespace {

// A replacement of bytes [from, to) of one Shift-JIS line.
struct LineEdit {
  std::size_t from;
  std::size_t to;
  std::string with;  // Shift-JIS
};

struct Mend {
  Text title;
  std::vector<LineEdit> edits;
};

std::string mended(std::string_view line, const std::vector<LineEdit>& edits) {
  std::string out;
  std::size_t at = 0;
  for (const LineEdit& edit : edits) {
    out.append(line.substr(at, edit.from - at)).append(edit.with);
    at = edit.to;
  }
  out.append(line.substr(at));
  return out;
}

// Whether the keyword scan finds `keyword` as the statement of `line`,
// starting at byte `at`.
bool statement_at(std::string_view line, Keyword keyword, std::size_t at) {
  TokenLine tokens;
  tokens.text.assign(line);
  tokenize_line(tokens);
  const KeywordHit hit = find_keyword(tokens);
  if (hit.keyword != keyword) return false;
  const std::vector<std::size_t> raw_of = squeezed_to_raw(line);
  return raw_of[tokens.tokens[hit.position].data() - tokens.text.data()] == at;
}

// `見る "x"` and `見る"x"`: the blanks after the keyword, or nothing, give
// way to the ( that the check asks for. Only where a text follows: a
// keyword run into other letters may be a word that was never meant as a
// statement.
std::optional<Mend> open_parenthesis(std::string_view line,
                                     const check::Finding& finding,
                                     std::size_t at) {
  const Keyword keyword = keyword_of(finding.subject);
  if (keyword == Keyword::kNone ||
      !line.substr(at).starts_with(finding.subject)) {
    return std::nullopt;
  }
  const std::size_t after = at + finding.subject.size();
  std::size_t next = after;
  while (next < line.size() && line[next] == ' ') ++next;
  if (finding.problem == check::Problem::kKeywordGlued &&
      (next != after || next >= line.size() || line[next] != '"')) {
    return std::nullopt;
  }
  Mend mend{{"「{}」の後ろを ( にする", "write ( after '{}'"},
            {{after, next, "("}}};
  if (!statement_at(mended(line, mend.edits), keyword, at)) return std::nullopt;
  return mend;
}

// A full-width space among the blanks that indent the line: tabs instead.
std::optional<Mend> indent_with_tabs(std::string_view line) {
  Mend mend{{"全角の空白をタブにする", "indent with tabs instead"}, {}};
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == '\t' || line[i] == ' ') {
      ++i;
    } else if (line.substr(i).starts_with(sjis::kWideSpace)) {
      mend.edits.push_back({i, i + sjis::kWideSpace.size(), "\t"});
      i += sjis::kWideSpace.size();
    } else {
      break;
    }
  }
  if (mend.edits.empty()) return std::nullopt;
  return mend;
}

// `!数a`, `&数a`: the variable in parentheses after the sign, which stays,
// so that the line does what it says. Only once the check, run over the
// mended line, finds no name with a sign left in it.
std::optional<Mend> name_in_parentheses(std::string_view line,
                                        const check::Finding& finding,
                                        std::size_t at) {
  // The finding is placed at the mark; the token starts before its sign.
  const std::size_t start = line.rfind(finding.subject, at);
  if (start == std::string_view::npos || start + finding.subject.size() <= at) {
    return std::nullopt;
  }
  Mend mend{{"変数をかっこで囲む", "put the variable in parentheses"},
            {{start, start + finding.subject.size(),
              check::names_in_parentheses(finding.subject)}}};
  for (const check::Finding& left :
       check::check_source(mended(line, mend.edits))) {
    if (left.problem == check::Problem::kNameAfterSign ||
        left.problem == check::Problem::kOperatorInName) {
      return std::nullopt;
    }
  }
  return mend;
}

std::optional<Mend> mend_for(std::string_view line,
                             const check::Finding& finding, std::size_t at) {
  switch (finding.problem) {
    case check::Problem::kKeywordSpaceRemoved:
    case check::Problem::kKeywordGlued:
      return open_parenthesis(line, finding, at);
    case check::Problem::kWideSpace: {
      std::optional<Mend> mend = indent_with_tabs(line);
      // Only when the space the check names is one of them.
      if (mend &&
          std::any_of(mend->edits.begin(), mend->edits.end(),
                      [at](const LineEdit& e) { return e.from == at; })) {
        return mend;
      }
      return std::nullopt;
    }
    case check::Problem::kNameAfterSign:
      return name_in_parentheses(line, finding, at);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::vector<CodeAction> code_actions(Document& document, Position from,
                                     Position to, const Session& session) {
  const Analysis& analysis = document.analysis();
  const std::size_t first = document.text().offset_of(from, session.encoding);
  const std::size_t last = document.text().offset_of(to, session.encoding);
  PositionCursor cursor(document.text(), session.encoding);
  std::vector<CodeAction> actions;
  for (const check::Finding& finding : analysis.findings()) {
    const Span span = analysis.span_of(finding);
    if (span.end() < first || span.offset > last) continue;
    const std::size_t line =
        std::clamp<std::size_t>(finding.line, 1, analysis.line_count());
    const std::string_view text = analysis.sjis_line(line);
    const std::size_t at = offset_of_column(text, finding.column);
    const std::optional<Mend> mend = mend_for(text, finding, at);
    if (!mend) continue;
    const Diagnostic diagnostic =
        finding_diagnostic(analysis, finding, cursor, session);
    std::vector<TextEdit> edits;
    for (const LineEdit& edit : mend->edits) {
      const std::size_t edit_from = analysis.utf8_offset(line, edit.from);
      const std::size_t edit_to = analysis.utf8_offset(line, edit.to);
      edits.push_back(
          {range_of(cursor, {edit_from, edit_to - edit_from}),
           convert_text(edit.with, Encoding::kShiftJis, Encoding::kUtf8)});
    }
    const std::string subject =
        convert_text(finding.subject, Encoding::kShiftJis, Encoding::kUtf8);
    actions.push_back({fill(mend->title, session.language, {subject}),
                       diagnostic, document.uri(), std::move(edits)});
  }
  return actions;
}

}  // namespace zemuc::lsp
