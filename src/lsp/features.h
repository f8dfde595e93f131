// What the server answers, one function per feature. Each takes the
// document at the version the request came with and the terms of the
// session, and returns the protocol's result as JSON.
#ifndef ZEMUC_LSP_FEATURES_H_
#define ZEMUC_LSP_FEATURES_H_

#include "lsp/documents.h"
#include "lsp/protocol.h"

namespace zemuc::lsp {

// The params of textDocument/publishDiagnostics: the check's findings as
// warnings, characters without a Shift-JIS form as errors.
Json diagnostics(Document& document, const Session& session);

// One finding as a diagnostic; findings must be given in rising order to
// one cursor.
Json finding_diagnostic(const Analysis& analysis, const check::Finding& finding,
                        PositionCursor& cursor, const Session& session);

// A variable's kind, C name and first line, or a keyword's statement;
// always the C text that the line becomes.
Json hover(Document& document, Position position, const Session& session);

// The statements as snippets, and the variables and files of the program.
Json completion(Document& document, Position position, const Session& session);

// Where a variable or file is first named, and every token that names it.
Json definition(Document& document, Position position, const Session& session);
Json references(Document& document, Position position, bool include_declaration,
                const Session& session);

// The variables, the files and the loops, each with its line.
Json document_symbols(Document& document, const Session& session);

// Mends for the findings in [from, to] whose mend is certain.
Json code_actions(Document& document, Position from, Position to,
                  const Session& session);

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_FEATURES_H_
