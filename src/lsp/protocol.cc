#include "lsp/protocol.h"

#include "text/encoding.h"

namespace zemuc::lsp {
namespace {

std::string dumped(const Json& message) {
  return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool valid_id(const Json& id) {
  return id.is_string() || id.is_number_integer();
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
    if (valid_id(*id)) message.id = *id;
  }
  const auto method = json.find("method");
  if (method == json.end()) {
    if (json.contains("id") &&
        (json.contains("result") || json.contains("error"))) {
      message.kind = Message::Kind::kResponse;
      return message;
    }
    message.problem = "the message has no method";
    return message;
  }
  if (!method->is_string()) {
    message.problem = "the method is no string";
    return message;
  }
  message.method = method->get<std::string>();
  if (const auto params = json.find("params"); params != json.end()) {
    if (!params->is_object() && !params->is_array() && !params->is_null()) {
      message.problem = "the params are neither object nor array";
      return message;
    }
    message.params = std::move(*params);
  }
  if (!json.contains("id")) {
    message.kind = Message::Kind::kNotification;
  } else if (message.id.is_null()) {
    message.problem = "the id is neither a number nor a string";
  } else {
    message.kind = Message::Kind::kRequest;
  }
  return message;
}

std::string result_body(const Json& id, const Json& result) {
  return dumped({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

std::string error_body(const Json& id, int code, std::string_view message) {
  return dumped({{"jsonrpc", "2.0"},
                 {"id", id},
                 {"error", {{"code", code}, {"message", message}}}});
}

std::string notification_body(std::string_view method, const Json& params) {
  return dumped({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

Json position_json(Position position) {
  return {{"line", position.line}, {"character", position.character}};
}

Position position_param(const Json& position) {
  return {position.at("line").get<std::size_t>(),
          position.at("character").get<std::size_t>()};
}

Json range_json(PositionCursor& cursor, Span span) {
  const Position start = cursor.position_of(span.offset);
  const Position end = cursor.position_of(span.end());
  return {{"start", position_json(start)}, {"end", position_json(end)}};
}

}  // namespace zemuc::lsp
