// What the features take from the client and give back, as plain structs:
// the protocol unit (server/protocol.cc) alone reads and writes them as JSON.
#ifndef ZEMUC_LSP_RESULTS_H_
#define ZEMUC_LSP_RESULTS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lsp/document_text.h"
#include "text/language.h"

namespace zemuc::lsp {

// What the client and the server agreed on at initialize.
struct Session {
  PositionEncoding encoding = PositionEncoding::kUtf16;
  Language language = Language::kEnglish;
  bool snippets = false;
  bool markdown = false;
  bool hierarchical_symbols = false;
};

// What the initialize params offer of what the server can use.
struct ClientOffer {
  std::optional<std::string> locale;
  bool utf8_positions = false;
  bool snippets = false;
  bool markdown = false;
  bool hierarchical_symbols = false;
};

struct Range {
  Position start;
  Position end;
};

struct Location {
  std::string uri;
  Range range;
};

struct Diagnostic {
  Range range;
  int severity;
  std::string code;
  std::string message;
};

// The params of textDocument/publishDiagnostics.
struct PublishedDiagnostics {
  std::string uri;
  std::optional<std::int64_t> version;  // none when a closed one is cleared
  std::vector<Diagnostic> diagnostics;
};

struct HoverText {
  std::string value;
  bool markdown = false;
  std::optional<Range> range;
};

struct CompletionItem {
  std::string label;
  int kind;
  std::string detail;
  int insert_format;
  Range range;
  std::string insert;
};

struct CompletionList {
  std::vector<CompletionItem> items;
};

// A symbol of the document; `detail` is the container name of a flat
// list.
struct SymbolItem {
  std::string name;
  int kind;
  std::string detail;
  Range range;
};

struct TextEdit {
  Range range;
  std::string new_text;
};

// A quick fix of one diagnostic, editing the document `uri`.
struct CodeAction {
  std::string title;
  Diagnostic diagnostic;
  std::string uri;
  std::vector<TextEdit> edits;
};

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_RESULTS_H_
