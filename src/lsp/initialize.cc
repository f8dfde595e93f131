#include "lsp/initialize.h"

namespace zemuc::lsp {
namespace {

// The value at a path of object keys, or null when any step is missing or
// no object: a client may leave out any capability.
const Json& at_path(const Json& json, std::initializer_list<const char*> path) {
  static const Json kNothing;  // read-only: a shared null to point at
  const Json* node = &json;
  for (const char* key : path) {
    if (!node->is_object()) return kNothing;
    const auto it = node->find(key);
    if (it == node->end()) return kNothing;
    node = &*it;
  }
  return *node;
}

bool lists(const Json& array, std::string_view word) {
  if (!array.is_array()) return false;
  for (const Json& item : array) {
    if (item.is_string() && item.get<std::string>() == word) return true;
  }
  return false;
}

}  // namespace

Session agree(const Json& params, Language fallback) {
  Session session;
  session.language = fallback;
  if (const Json& locale = at_path(params, {"locale"}); locale.is_string()) {
    session.language = language_of_locale(locale.get<std::string>());
  }
  if (lists(at_path(params, {"capabilities", "general", "positionEncodings"}),
            "utf-8")) {
    session.encoding = PositionEncoding::kUtf8;
  }
  const Json& text = at_path(params, {"capabilities", "textDocument"});
  session.snippets =
      at_path(text, {"completion", "completionItem", "snippetSupport"}) == true;
  session.markdown =
      lists(at_path(text, {"hover", "contentFormat"}), "markdown");
  session.hierarchical_symbols =
      at_path(text, {"documentSymbol", "hierarchicalDocumentSymbolSupport"}) ==
      true;
  return session;
}

Json initialize_result(const Session& session, std::string_view version) {
  constexpr int kIncremental = 2;
  return {
      {"capabilities",
       {{"positionEncoding",
         session.encoding == PositionEncoding::kUtf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", kIncremental}}},
        {"hoverProvider", true},
        {"completionProvider", {{"resolveProvider", false}}},
        {"definitionProvider", true},
        {"referencesProvider", true},
        {"documentSymbolProvider", true},
        {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}}}},
      {"serverInfo", {{"name", "zemuc"}, {"version", version}}}};
}

}  // namespace zemuc::lsp
