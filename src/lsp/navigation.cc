// Definition, references and document symbols: a variable or file is
// declared where it is first named, and every whole token that names it is
// a use; a loop is a repeat or read-all statement.
#include <string>

#include "lsp/features.h"
#include "lsp/words.h"
#include "symbols/c_names.h"
#include "text/encoding.h"

namespace zemuc::lsp {
namespace {

// SymbolKind of the protocol.
constexpr int kSymbolFile = 1;
constexpr int kSymbolVariable = 13;
constexpr int kSymbolEvent = 24;  // the nearest kind to a loop

const Spot* named_at(Document& document, Position position,
                     const Session& session) {
  const std::size_t offset =
      document.text().offset_of(position, session.encoding);
  const Spot* spot = document.analysis().spot_at(offset);
  return spot != nullptr && spot->kind != Spot::Kind::kKeyword ? spot : nullptr;
}

Location location(Document& document, PositionCursor& cursor, Span span) {
  return {document.uri(), range_of(cursor, span)};
}

// The loop statement's line as written, without its indentation and line
// end: what a learner recognises it by.
std::string loop_name(Document& document, const Spot& spot) {
  const std::string& text = document.text().text();
  std::size_t end = spot.span.offset;
  while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
  constexpr std::size_t kLongest = 60;
  const std::string_view name =
      std::string_view(text).substr(spot.span.offset, end - spot.span.offset);
  if (name.size() <= kLongest) return std::string(name);
  // Cut before the character that would pass the longest.
  std::size_t cut = 0;
  while (cut + utf8_length(name.substr(cut)) <= kLongest) {
    cut += utf8_length(name.substr(cut));
  }
  return std::string(name.substr(0, cut)) + "...";
}

}  // namespace

std::optional<Location> definition(Document& document, Position position,
                                   const Session& session) {
  const Spot* spot = named_at(document, position, session);
  if (spot == nullptr) return std::nullopt;
  const Spot* first = document.analysis().first_spot(spot->kind, spot->index);
  if (first == nullptr) return std::nullopt;
  PositionCursor cursor(document.text(), session.encoding);
  return location(document, cursor, first->span);
}

std::optional<std::vector<Location>> references(Document& document,
                                                Position position,
                                                bool include_declaration,
                                                const Session& session) {
  const Spot* spot = named_at(document, position, session);
  if (spot == nullptr) return std::nullopt;
  const Analysis& analysis = document.analysis();
  const Spot* first = analysis.first_spot(spot->kind, spot->index);
  PositionCursor cursor(document.text(), session.encoding);
  std::vector<Location> list;
  for (const Spot& use : analysis.spots()) {
    if (use.kind != spot->kind || use.index != spot->index) continue;
    if (!include_declaration && &use == first) continue;
    list.push_back(location(document, cursor, use.span));
  }
  return list;
}

std::vector<SymbolItem> document_symbols(Document& document,
                                         const Session& session) {
  const Analysis& analysis = document.analysis();
  PositionCursor cursor(document.text(), session.encoding);
  std::vector<SymbolItem> list;
  const auto add = [&](std::string name, int kind, std::string detail,
                       Span span) {
    list.push_back(
        {std::move(name), kind, std::move(detail), range_of(cursor, span)});
  };
  // In the order of the text: each variable and file where it is first
  // named, each loop where it stands.
  const SymbolTables& tables = analysis.tables();
  for (const Spot& spot : analysis.spots()) {
    switch (spot.kind) {
      case Spot::Kind::kVariable:
        if (analysis.first_spot(spot.kind, spot.index) != &spot) break;
        add(utf8_of(tables.variables[spot.index].name), kSymbolVariable,
            std::string(tables.variables.c_name(spot.index)), spot.span);
        break;
      case Spot::Kind::kFile:
        if (analysis.first_spot(spot.kind, spot.index) != &spot) break;
        add(utf8_of(tables.files[spot.index].name), kSymbolFile,
            spelled(tables.files.var(spot.index)), spot.span);
        break;
      case Spot::Kind::kKeyword: {
        const auto keyword = static_cast<Keyword>(spot.index);
        if (!spot.statement ||
            (keyword != Keyword::kRepeat && keyword != Keyword::kReadAll)) {
          break;
        }
        add(loop_name(document, spot), kSymbolEvent, keyword_name(keyword),
            spot.span);
        break;
      }
    }
  }
  return list;
}

}  // namespace zemuc::lsp
