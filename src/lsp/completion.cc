// Completion: the ten statements in their usual forms, and the variables
// and files the program already names, replacing the word at the cursor
// as the tokenizer cuts it.
#include <string>

#include "lexer/raw_offsets.h"
#include "lexer/tokenizer.h"
#include "lsp/features.h"
#include "lsp/words.h"
#include "text/encoding.h"

namespace zemuc::lsp {
namespace {

// CompletionItemKind and InsertTextFormat of the protocol.
constexpr int kKindVariable = 6;
constexpr int kKindKeyword = 14;
constexpr int kKindSnippet = 15;
constexpr int kKindFile = 17;
constexpr int kPlainText = 1;
constexpr int kSnippet = 2;

// Where the word that ends at the cursor begins: the start of the token
// that holds the byte before it, unless that byte is the token's end.
std::size_t word_start(const Analysis& analysis, std::size_t line,
                       std::size_t cursor) {
  const std::string_view raw = analysis.sjis_line(line);
  const std::size_t raw_cursor = analysis.sjis_offset(line, cursor);
  if (raw_cursor == 0) return cursor;
  TokenLine tokens;
  tokens.text.assign(raw);
  tokenize_line(tokens);
  const std::vector<std::size_t> raw_of = squeezed_to_raw(raw);
  for (std::size_t k = 1; k <= tokens.count; ++k) {
    const std::string_view token = tokens.tokens[k];
    if (token.empty()) continue;
    const std::size_t at = token.data() - tokens.text.data();
    const std::size_t from = raw_of[at];
    const std::size_t to = raw_of[at + token.size() - 1] + 1;
    if (from < raw_cursor && raw_cursor <= to) {
      return analysis.utf8_offset(line, from);
    }
  }
  return cursor;
}

}  // namespace

CompletionList completion(Document& document, Position position,
                          const Session& session) {
  const Analysis& analysis = document.analysis();
  const std::size_t cursor =
      document.text().offset_of(position, session.encoding);
  const std::size_t line = analysis.line_at(cursor);
  const std::size_t start = line >= 1 && line <= analysis.line_count()
                                ? word_start(analysis, line, cursor)
                                : cursor;
  PositionCursor positions(document.text(), session.encoding);
  const Range range = range_of(positions, {start, cursor - start});
  CompletionList list;
  const auto add = [&](std::string label, int kind, std::string detail,
                       std::string insert, int format) {
    list.items.push_back({std::move(label), kind, std::move(detail), format,
                          range, std::move(insert)});
  };
  for (const KeywordEntry& entry : all_keywords()) {
    const Keyword keyword = entry.keyword;
    add(keyword_name(keyword), session.snippets ? kKindSnippet : kKindKeyword,
        usual_form(keyword, session.language),
        session.snippets ? snippet_of(keyword) : plain_insert_of(keyword),
        session.snippets ? kSnippet : kPlainText);
  }
  const SymbolTables& tables = analysis.tables();
  for (std::size_t i = 1; i <= tables.variables.count(); ++i) {
    const Variable& variable = tables.variables[i];
    const std::string name = utf8_of(variable.name);
    add(name, kKindVariable,
        fill({"{}の変数 ({})", "{} variable ({})"}, session.language,
             {variable.prop == kNumeric
                  ? pick(session.language, "数", "number")
                  : pick(session.language, "文字列", "text"),
              variable.c_name}),
        name, kPlainText);
  }
  for (std::size_t i = 1; i <= tables.files.count(); ++i) {
    const FileEntry& file = tables.files[i];
    // A name opened twice is one file to the lookups: its first entry.
    if (tables.files.find(file.name) != i) continue;
    const std::string name = utf8_of(file.name);
    add(name, kKindFile,
        fill({"ファイル {} ({})", "file {} ({})"}, session.language,
             {utf8_of(file.fname), file.prop == kReadMode ? "r" : "w"}),
        name, kPlainText);
  }
  return list;
}

}  // namespace zemuc::lsp
