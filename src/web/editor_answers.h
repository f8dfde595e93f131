// The language server's features as the page's editor asks them: the
// source in the working folder as one open document, positions in UTF-16
// code units, answers as JSON.
#ifndef ZEMUC_WEB_EDITOR_ANSWERS_H_
#define ZEMUC_WEB_EDITOR_ANSWERS_H_

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "lsp/documents.h"
#include "lsp/results.h"
#include "web/answers.h"
#include "web/arguments.h"

namespace zemuc::web {

// The editor's terms: UTF-16 positions, snippets and markdown, the
// language asked for.
lsp::Session editor_session(const Arguments& arguments);

// The source as the editor holds it, UTF-8: a Shift-JIS file decoded.
// Nothing when there is no source to read.
std::optional<lsp::Document> source_document(const Arguments& arguments);

// What the compiler's `output` says of the document, as the editor's
// diagnostics do, each with its "code" where `with_code`.
nlohmann::json compiler_diagnostics(const Arguments& arguments,
                                    const BrowserProgram& built,
                                    std::string_view output, bool failed,
                                    bool with_code);

// A diagnostic or a range as JSON.
nlohmann::json diagnostic_json(const lsp::Diagnostic& diagnostic,
                               bool with_code);
void put_range(nlohmann::json& out, const lsp::Range& range);

}  // namespace zemuc::web

#endif  // ZEMUC_WEB_EDITOR_ANSWERS_H_
