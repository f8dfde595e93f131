// Diagnostics: the findings of `zemuc check` and, once the text is built,
// the compiler's errors and warnings, with the texts that `zemuc check`
// and `zemuc run` print, and the characters that the Shift-JIS form had
// to replace.
#include <algorithm>
#include <cstdio>

#include "check/line.h"
#include "check/messages.h"
#include "lsp/features.h"
#include "lsp/words.h"

namespace zemuc::lsp {
namespace {

constexpr int kError = 1;
constexpr int kWarning = 2;

struct Item {
  Span span;
  int severity;
  std::string_view code;
  std::string message;
};

std::string shown_character(std::string_view utf8, const Unconvertible& bad) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(bad.code));
  std::string shown(1, '\'');
  shown.append(utf8.substr(bad.offset, bad.length)).append("' (");
  return shown.append(code).append(")");
}

// Where a compiler's message stands: as a finding at its column, or, past
// the end of its line (a ; missing), under the line's last character.
Span underlined(const Analysis& analysis, std::string_view text,
                const CompilerFinding& finding) {
  Span span = analysis.span_at(finding.line, finding.column);
  const std::size_t line = analysis.line_at(span.offset);
  if (span.length != 0 || span.offset == analysis.line_offset(line)) {
    return span;
  }
  std::size_t from = span.offset - 1;
  while (from > 0 && (static_cast<unsigned char>(text[from]) & 0xC0) == 0x80) {
    --from;
  }
  return {from, span.offset - from};
}

Diagnostic diagnostic_of(PositionCursor& cursor, const Item& item) {
  return {range_of(cursor, item.span), item.severity, std::string(item.code),
          item.message};
}

Item finding_item(const Analysis& analysis, const check::Finding& finding,
                  Language language) {
  return {analysis.span_of(finding), kWarning, problem_code(finding.problem),
          check::finding_text(finding, language)};
}

}  // namespace

Diagnostic finding_diagnostic(const Analysis& analysis,
                              const check::Finding& finding,
                              PositionCursor& cursor, const Session& session) {
  return diagnostic_of(cursor,
                       finding_item(analysis, finding, session.language));
}

PublishedDiagnostics diagnostics(Document& document, const Session& session) {
  const Analysis& analysis = document.analysis();
  const std::string& text = document.text().text();
  std::vector<Item> items;
  if (!analysis.converted()) {
    items.push_back({{0, 0},
                     kError,
                     kNoShiftJisCode,
                     fill({"文字コードを変換できません", "cannot convert text"},
                          session.language, {})});
  }
  for (const check::Finding& finding : analysis.findings()) {
    items.push_back(finding_item(analysis, finding, session.language));
  }
  if (const std::vector<CompilerFinding>* said = document.compiler_findings()) {
    for (const CompilerFinding& finding : *said) {
      items.push_back({underlined(analysis, text, finding),
                       finding.error ? kError : kWarning, kCompilerCode,
                       finding.text});
    }
  }
  // As many per line as the check names at most, for the same reason: a
  // line of a megabyte of emoji is no cause for a megabyte of messages.
  std::size_t line = 0;
  std::size_t on_line = 0;
  for (const Unconvertible& bad : analysis.unconvertible()) {
    const std::size_t at = analysis.line_at(bad.offset);
    on_line = at == line ? on_line + 1 : 1;
    line = at;
    if (on_line > check::LineFindings::kMostPerLine) continue;
    items.push_back({{bad.offset, bad.length},
                     kError,
                     kNoShiftJisCode,
                     fill(kNoShiftJisText, session.language,
                          {shown_character(text, bad)})});
  }
  std::stable_sort(items.begin(), items.end(),
                   [](const Item& a, const Item& b) {
                     return a.span.offset < b.span.offset;
                   });
  PositionCursor cursor(document.text(), session.encoding);
  PublishedDiagnostics published{document.uri(), document.version(), {}};
  for (const Item& item : items) {
    published.diagnostics.push_back(diagnostic_of(cursor, item));
  }
  return published;
}

}  // namespace zemuc::lsp
