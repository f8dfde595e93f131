// JSON-RPC as the protocol uses it: reading one message and the params of
// each method into plain structs, and writing answers from them. The one
// place that knows JSON; the features and the server see structs only.
#ifndef ZEMUC_SERVER_PROTOCOL_H_
#define ZEMUC_SERVER_PROTOCOL_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/results.h"

namespace zemuc::lsp {

namespace error_code {
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
inline constexpr int kServerNotInitialized = -32002;
inline constexpr int kRequestCancelled = -32800;
}  // namespace error_code

// A request's id as its JSON text ("7", "\"a\""); empty where there is
// none, which answers write as null. Ids that JSON holds equal have the
// same text.
struct RequestId {
  std::string json;
  bool operator==(const RequestId&) const = default;
};

// The params of a message as parsed, opaque but to the protocol unit.
struct ParsedParams;
using Params = std::shared_ptr<const ParsedParams>;

struct Message {
  enum class Kind {
    kRequest,
    kNotification,
    kResponse,  // to a request of ours; the server sends none
    kUnparsable,
    kInvalid,
  };
  Kind kind = Kind::kInvalid;
  RequestId id;
  std::string method;
  Params params;        // null where there are none
  std::string problem;  // why it is unparsable or invalid
  // For $/cancelRequest: the id of the request it cancels.
  std::optional<RequestId> cancels;
};

Message read_message(std::string_view body);

// Params missing or of the wrong type, which the dispatch answers as
// invalid params.
class ParamsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The params of each method; each throws ParamsError for what it cannot
// read.
ClientOffer offer_param(const Params& params);
struct PositionParams {
  std::string uri;
  Position position;
};
PositionParams position_params(const Params& params);
// textDocument/references: the place, and whether the declaration counts.
bool include_declaration_param(const Params& params);
struct CodeActionParams {
  bool wanted = true;  // false when the client asks for no quick fixes
  std::string uri;
  Position from;
  Position to;
};
CodeActionParams code_action_params(const Params& params);
struct OpenedDocument {
  std::string uri;
  std::int64_t version;
  std::string text;
};
OpenedDocument did_open_params(const Params& params);
struct TextChange {
  std::optional<Range> range;  // none for the whole text
  std::string text;
};
struct DocumentChanges {
  std::string uri;
  // The changes up to the first that cannot be read, which `broken` then
  // names: those before it are made all the same.
  std::vector<TextChange> changes;
  std::optional<std::string> broken;
  std::optional<std::int64_t> version;
};
DocumentChanges did_change_params(const Params& params);
// textDocument/didClose: the document's URI.
std::string uri_param(const Params& params);

// Results as JSON text, for result_body.
std::string null_result();
std::string initialize_result(const Session& session, std::string_view version);
std::string hover_result(const std::optional<HoverText>& hover);
std::string completion_result(const CompletionList& list);
std::string definition_result(const std::optional<Location>& location);
std::string references_result(
    const std::optional<std::vector<Location>>& locations);
std::string symbols_result(const std::vector<SymbolItem>& symbols,
                           std::string_view uri, bool hierarchical);
std::string code_actions_result(const std::vector<CodeAction>& actions);

// Message bodies. Text that is not valid UTF-8 is replaced, so that no
// answer fails to be written.
std::string result_body(const RequestId& id, std::string_view result);
std::string error_body(const RequestId& id, int code, std::string_view message);
std::string log_message_body(std::string_view text);
std::string diagnostics_body(const PublishedDiagnostics& published);

}  // namespace zemuc::lsp

#endif  // ZEMUC_SERVER_PROTOCOL_H_
