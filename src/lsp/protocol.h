// JSON-RPC as the protocol uses it: reading one message, writing answers,
// and the few shapes (positions, ranges) every feature shares.
#ifndef ZEMUC_LSP_PROTOCOL_H_
#define ZEMUC_LSP_PROTOCOL_H_

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "lsp/analysis.h"
#include "lsp/document_text.h"
#include "text/language.h"

namespace zemuc::lsp {

using Json = nlohmann::json;

namespace error_code {
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
inline constexpr int kServerNotInitialized = -32002;
inline constexpr int kRequestCancelled = -32800;
}  // namespace error_code

struct Message {
  enum class Kind {
    kRequest,
    kNotification,
    kResponse,  // to a request of ours; the server sends none
    kUnparsable,
    kInvalid,
  };
  Kind kind = Kind::kInvalid;
  Json id;  // null where there is none
  std::string method;
  Json params;          // null where there are none
  std::string problem;  // why it is unparsable or invalid
};

Message read_message(std::string_view body);

// Message bodies. Text that is not valid UTF-8 is replaced, so that no
// answer fails to be written.
std::string result_body(const Json& id, const Json& result);
std::string error_body(const Json& id, int code, std::string_view message);
std::string notification_body(std::string_view method, const Json& params);

// What the client and the server agreed on at initialize.
struct Session {
  PositionEncoding encoding = PositionEncoding::kUtf16;
  Language language = Language::kEnglish;
  bool snippets = false;
  bool markdown = false;
  bool hierarchical_symbols = false;
};

Json position_json(Position position);
// A position of a request's params; a field missing or of the wrong type
// throws nlohmann::json::exception, which the dispatch answers as invalid
// params.
Position position_param(const Json& position);

// Ranges of spans of the UTF-8 text; spans must be given in rising order
// to one cursor.
Json range_json(PositionCursor& cursor, Span span);

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_PROTOCOL_H_
