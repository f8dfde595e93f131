// The initialize handshake: what the client offers, what the server takes
// of it, and the capabilities the server announces.
#ifndef ZEMUC_LSP_INITIALIZE_H_
#define ZEMUC_LSP_INITIALIZE_H_

#include <string_view>

#include "lsp/protocol.h"

namespace zemuc::lsp {

// The terms of the session from the initialize params: UTF-8 positions when
// the client offers them, the client's locale before `fallback`, snippets,
// markdown and nested symbols where the client takes them.
Session agree(const Json& params, Language fallback);

Json initialize_result(const Session& session, std::string_view version);

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_INITIALIZE_H_
