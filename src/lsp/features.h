// What the server answers, one function per feature. Each takes the
// document at the version the request came with and the terms of the
// session, and returns the protocol's result as plain structs, which
// server/protocol.h writes as JSON.
#ifndef ZEMUC_LSP_FEATURES_H_
#define ZEMUC_LSP_FEATURES_H_

#include <optional>
#include <string_view>
#include <vector>

#include "lsp/documents.h"
#include "lsp/results.h"

namespace zemuc::lsp {

// The code of a diagnostic of what the compiler says, as `zemuc run`
// tells it.
inline constexpr std::string_view kCompilerCode = "compiler";

// The range of a span of the UTF-8 text; spans must be given in rising
// order to one cursor.
inline Range range_of(PositionCursor& cursor, Span span) {
  const Position start = cursor.position_of(span.offset);
  return {start, cursor.position_of(span.end())};
}

// The terms of the session from what the client offers: UTF-8 positions
// when offered, the client's locale before `fallback`, snippets, markdown
// and nested symbols where the client takes them.
Session agree(const ClientOffer& offer, Language fallback);

// The check's findings as warnings, characters without a Shift-JIS form
// as errors, and what the compiler said of the text once it is built:
// what stops the build as errors, what is likely unmeant as warnings.
PublishedDiagnostics diagnostics(Document& document, const Session& session);

// One finding as a diagnostic; findings must be given in rising order to
// one cursor.
Diagnostic finding_diagnostic(const Analysis& analysis,
                              const check::Finding& finding,
                              PositionCursor& cursor, const Session& session);

// A variable's kind, C name and first line, or a keyword's statement;
// always the C text that the line becomes. Nothing off the program's
// lines.
std::optional<HoverText> hover(Document& document, Position position,
                               const Session& session);

// The statements as snippets, and the variables and files of the program.
CompletionList completion(Document& document, Position position,
                          const Session& session);

// Where a variable or file is first named, and every token that names it;
// nothing where no variable or file is named.
std::optional<Location> definition(Document& document, Position position,
                                   const Session& session);
std::optional<std::vector<Location>> references(Document& document,
                                                Position position,
                                                bool include_declaration,
                                                const Session& session);

// The variables, the files and the loops, each with its line.
std::vector<SymbolItem> document_symbols(Document& document,
                                         const Session& session);

// Mends for the findings in [from, to] whose mend is certain.
std::vector<CodeAction> code_actions(Document& document, Position from,
                                     Position to, const Session& session);

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_FEATURES_H_
