// The one unit that includes the JSON library: every other unit of the
// server builds without its templates.
#include "server/protocol.h"

#include <cmath>
#include <initializer_list>
#include <nlohmann/json.hpp>

#include "text/encoding.h"

namespace zemuc::lsp {

using Json = nlohmann::json;

struct ParsedParams {
  Json json;
};

namespace {

std::string dumped(const Json& message) {
  return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool valid_id(const Json& id) {
  return id.is_string() || id.is_number_integer();
}

// The text of an id, so that ids JSON holds equal compare equal as text:
// a cancellation may name request 7 as 7.0.
RequestId id_text(const Json& id) {
  if (id.is_number_float()) {
    const double value = id.get<double>();
    constexpr double kLimit = 9.2e18;
    if (std::trunc(value) == value && std::fabs(value) < kLimit) {
      return {dumped(Json(static_cast<std::int64_t>(value)))};
    }
  }
  return {dumped(id)};
}

Json id_json(const RequestId& id) {
  return id.json.empty() ? Json() : Json::parse(id.json);
}

const Json& json_of(const Params& params) {
  static const Json kNothing;  // read-only: a shared null to point at
  return params ? params->json : kNothing;
}

// Runs a reading of params, answering the library's own failures, whose
// words name its internals, as a ParamsError.
template <typename Read>
auto reading(Read read) {
  try {
    return read();
  } catch (const Json::exception& error) {
    throw ParamsError(error.what());
  }
}

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

Position position_of(const Json& position) {
  return {position.at("line").get<std::size_t>(),
          position.at("character").get<std::size_t>()};
}

std::string uri_of(const Json& params) {
  return params.at("textDocument").at("uri").get<std::string>();
}

Json position_json(Position position) {
  return {{"line", position.line}, {"character", position.character}};
}

Json range_json(const Range& range) {
  return {{"start", position_json(range.start)},
          {"end", position_json(range.end)}};
}

Json location_json(const Location& location) {
  return {{"uri", location.uri}, {"range", range_json(location.range)}};
}

Json diagnostic_json(const Diagnostic& diagnostic) {
  return {{"range", range_json(diagnostic.range)},
          {"severity", diagnostic.severity},
          {"source", "zemuc"},
          {"code", diagnostic.code},
          {"message", diagnostic.message}};
}

Json symbol_json(const SymbolItem& symbol, std::string_view uri,
                 bool hierarchical) {
  const Json range = range_json(symbol.range);
  if (hierarchical) {
    return {{"name", symbol.name},
            {"detail", symbol.detail},
            {"kind", symbol.kind},
            {"range", range},
            {"selectionRange", range}};
  }
  return {{"name", symbol.name},
          {"kind", symbol.kind},
          {"containerName", symbol.detail},
          {"location", {{"uri", uri}, {"range", range}}}};
}

Json code_action_json(const CodeAction& action) {
  Json edits = Json::array();
  for (const TextEdit& edit : action.edits) {
    edits.push_back(
        {{"range", range_json(edit.range)}, {"newText", edit.new_text}});
  }
  return {{"title", action.title},
          {"kind", "quickfix"},
          {"isPreferred", true},
          {"diagnostics", Json::array({diagnostic_json(action.diagnostic)})},
          {"edit", {{"changes", {{action.uri, std::move(edits)}}}}}};
}

std::string notification_body(std::string_view method, const Json& params) {
  return dumped({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

// What a message that holds a method is: its params, and whether it is a
// request or a notification.
void read_method(Json& json, Message& message) {
  const auto method = json.find("method");
  if (!method->is_string()) {
    message.problem = "the method is no string";
    return;
  }
  message.method = method->get<std::string>();
  if (const auto params = json.find("params"); params != json.end()) {
    if (!params->is_object() && !params->is_array() && !params->is_null()) {
      message.problem = "the params are neither object nor array";
      return;
    }
    message.params =
        std::make_shared<const ParsedParams>(ParsedParams{std::move(*params)});
  }
  if (!json.contains("id")) {
    message.kind = Message::Kind::kNotification;
  } else if (message.id.json.empty()) {
    message.problem = "the id is neither a number nor a string";
  } else {
    message.kind = Message::Kind::kRequest;
  }
}

}  // namespace

Message read_message(std::string_view body) {
  Message message;
  // The parser refuses a whole message for one byte that is no UTF-8, as a
  // document's text may hold; such bytes become U+FFFD, as editors show
  // them, and the rest is read.
  const std::string repaired =
      is_valid_utf8(body) ? std::string() : with_invalid_utf8_replaced(body);
  Json json = Json::parse(repaired.empty() ? body : repaired, nullptr,
                          /*allow_exceptions=*/false);
  if (json.is_discarded()) {
    message.kind = Message::Kind::kUnparsable;
    message.problem = "the message is no JSON";
    return message;
  }
  if (!json.is_object()) {
    message.problem = "the message is no JSON object";
    return message;
  }
  if (const auto id = json.find("id"); id != json.end()) {
    if (valid_id(*id)) message.id = id_text(*id);
  }
  if (!json.contains("method")) {
    if (json.contains("id") &&
        (json.contains("result") || json.contains("error"))) {
      message.kind = Message::Kind::kResponse;
      return message;
    }
    message.problem = "the message has no method";
    return message;
  }
  read_method(json, message);
  const Json& params = json_of(message.params);
  if (message.kind == Message::Kind::kNotification &&
      message.method == "$/cancelRequest" && params.is_object()) {
    if (const auto id = params.find("id"); id != params.end()) {
      message.cancels = id_text(*id);
    }
  }
  return message;
}

ClientOffer offer_param(const Params& params) {
  const Json& json = json_of(params);
  ClientOffer offer;
  if (const Json& locale = at_path(json, {"locale"}); locale.is_string()) {
    offer.locale = locale.get<std::string>();
  }
  offer.utf8_positions = lists(
      at_path(json, {"capabilities", "general", "positionEncodings"}), "utf-8");
  const Json& text = at_path(json, {"capabilities", "textDocument"});
  offer.snippets =
      at_path(text, {"completion", "completionItem", "snippetSupport"}) == true;
  offer.markdown = lists(at_path(text, {"hover", "contentFormat"}), "markdown");
  offer.hierarchical_symbols =
      at_path(text, {"documentSymbol", "hierarchicalDocumentSymbolSupport"}) ==
      true;
  return offer;
}

PositionParams position_params(const Params& params) {
  return reading([&] {
    const Json& json = json_of(params);
    const Position position = position_of(json.at("position"));
    return PositionParams{uri_of(json), position};
  });
}

bool include_declaration_param(const Params& params) {
  return reading([&] {
    const Json& json = json_of(params);
    bool include_declaration = true;
    if (const auto context = json.find("context");
        context != json.end() && context->is_object()) {
      include_declaration = context->value("includeDeclaration", true);
    }
    return include_declaration;
  });
}

CodeActionParams code_action_params(const Params& params) {
  return reading([&] {
    const Json& json = json_of(params);
    const Json& range = json.at("range");
    CodeActionParams read;
    if (const auto context = json.find("context");
        context != json.end() && context->is_object()) {
      if (const auto only = context->find("only");
          only != context->end() && only->is_array()) {
        bool wanted = false;
        for (const Json& kind : *only) {
          wanted = wanted || kind == "quickfix" || kind == "";
        }
        if (!wanted) return CodeActionParams{false, {}, {}, {}};
      }
    }
    read.to = position_of(range.at("end"));
    read.from = position_of(range.at("start"));
    read.uri = uri_of(json);
    return read;
  });
}

OpenedDocument did_open_params(const Params& params) {
  return reading([&] {
    const Json& item = json_of(params).at("textDocument");
    return OpenedDocument{item.at("uri").get<std::string>(),
                          item.value("version", std::int64_t{0}),
                          item.at("text").get<std::string>()};
  });
}

DocumentChanges did_change_params(const Params& params) {
  const Json& json = json_of(params);
  DocumentChanges read{reading([&] { return uri_of(json); }), {}, {}, {}};
  try {
    for (const Json& change : json.at("contentChanges")) {
      TextChange text_change;
      text_change.text = change.at("text").get_ref<const std::string&>();
      if (const auto range = change.find("range"); range != change.end()) {
        text_change.range = Range{position_of(range->at("start")),
                                  position_of(range->at("end"))};
      }
      read.changes.push_back(std::move(text_change));
    }
  } catch (const Json::exception& error) {
    read.broken = error.what();
    return read;
  }
  const Json& item = json.at("textDocument");
  if (const auto version = item.find("version");
      version != item.end() && version->is_number_integer()) {
    read.version = version->get<std::int64_t>();
  }
  return read;
}

std::string uri_param(const Params& params) {
  return reading([&] { return uri_of(json_of(params)); });
}

std::string null_result() { return dumped(nullptr); }

std::string initialize_result(const Session& session,
                              std::string_view version) {
  constexpr int kIncremental = 2;
  return dumped(
      {{"capabilities",
        {{"positionEncoding",
          session.encoding == PositionEncoding::kUtf8 ? "utf-8" : "utf-16"},
         {"textDocumentSync", {{"openClose", true}, {"change", kIncremental}}},
         {"hoverProvider", true},
         {"completionProvider", {{"resolveProvider", false}}},
         {"definitionProvider", true},
         {"referencesProvider", true},
         {"documentSymbolProvider", true},
         {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}}}},
       {"serverInfo", {{"name", "zemuc"}, {"version", version}}}});
}

std::string hover_result(const std::optional<HoverText>& hover) {
  if (!hover) return null_result();
  Json result = {{"contents",
                  {{"kind", hover->markdown ? "markdown" : "plaintext"},
                   {"value", hover->value}}}};
  if (hover->range) result["range"] = range_json(*hover->range);
  return dumped(result);
}

std::string completion_result(const CompletionList& list) {
  Json items = Json::array();
  for (const CompletionItem& item : list.items) {
    items.push_back(
        {{"label", item.label},
         {"kind", item.kind},
         {"detail", item.detail},
         {"filterText", item.label},
         {"insertTextFormat", item.insert_format},
         {"textEdit",
          {{"range", range_json(item.range)}, {"newText", item.insert}}}});
  }
  return dumped({{"isIncomplete", false}, {"items", std::move(items)}});
}

std::string definition_result(const std::optional<Location>& location) {
  return location ? dumped(location_json(*location)) : null_result();
}

std::string references_result(
    const std::optional<std::vector<Location>>& locations) {
  if (!locations) return null_result();
  Json list = Json::array();
  for (const Location& location : *locations) {
    list.push_back(location_json(location));
  }
  return dumped(list);
}

std::string symbols_result(const std::vector<SymbolItem>& symbols,
                           std::string_view uri, bool hierarchical) {
  Json list = Json::array();
  for (const SymbolItem& symbol : symbols) {
    list.push_back(symbol_json(symbol, uri, hierarchical));
  }
  return dumped(list);
}

std::string code_actions_result(const std::vector<CodeAction>& actions) {
  Json list = Json::array();
  for (const CodeAction& action : actions) {
    list.push_back(code_action_json(action));
  }
  return dumped(list);
}

// The members in the order the library writes them, its keys sorted.
std::string result_body(const RequestId& id, std::string_view result) {
  std::string body = "{\"id\":";
  body.append(id.json.empty() ? "null" : id.json);
  body.append(",\"jsonrpc\":\"2.0\",\"result\":").append(result);
  return body.append("}");
}

std::string error_body(const RequestId& id, int code,
                       std::string_view message) {
  return dumped({{"jsonrpc", "2.0"},
                 {"id", id_json(id)},
                 {"error", {{"code", code}, {"message", message}}}});
}

std::string log_message_body(std::string_view text) {
  constexpr int kErrorType = 1;
  return notification_body("window/logMessage",
                           {{"type", kErrorType}, {"message", text}});
}

std::string diagnostics_body(const PublishedDiagnostics& published) {
  Json list = Json::array();
  for (const Diagnostic& diagnostic : published.diagnostics) {
    list.push_back(diagnostic_json(diagnostic));
  }
  Json params = {{"uri", published.uri}, {"diagnostics", std::move(list)}};
  if (published.version) params["version"] = *published.version;
  return notification_body("textDocument/publishDiagnostics", params);
}

}  // namespace zemuc::lsp
