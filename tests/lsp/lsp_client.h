// A client for protocol tests: starts the built `zemuc lsp` on pipes,
// sends messages, and takes its messages as they come.
#ifndef ZEMUC_TESTS_LSP_LSP_CLIENT_H_
#define ZEMUC_TESTS_LSP_LSP_CLIENT_H_

#include <sys/types.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/framing.h"
#include "support/run.h"

namespace zemuc::testing {

using Json = nlohmann::json;
using namespace std::chrono_literals;

// `members` and "jsonrpc": "2.0", framed as the protocol sends them.
std::string framed(Json members);

// Whether the server finds a C compiler: by default none (PATH an empty
// folder, CC unset), so that it publishes the check's findings alone;
// kFound for the compiler on the test's own PATH. Either way the server
// keeps what it learns of a compiler in a cache folder of the client's
// own (XDG_CACHE_HOME), never in the user's.
enum class Compiler { kNone, kFound };

class LspClient {
 public:
  // `environment` adds NAME=VALUE settings to a UTF-8 locale with English
  // messages.
  explicit LspClient(const std::vector<std::string>& environment = {},
                     Compiler compiler = Compiler::kNone);
  ~LspClient();
  LspClient(const LspClient&) = delete;
  LspClient& operator=(const LspClient&) = delete;

  void send_raw(std::string_view bytes);
  void notify(const std::string& method, const Json& params) {
    send_raw(framed({{"method", method}, {"params", params}}));
  }
  // Sends a request with the next id; returns the id.
  int ask(const std::string& method, const Json& params) {
    send_raw(
        framed({{"id", next_id_}, {"method", method}, {"params", params}}));
    return next_id_++;
  }

  // The first message `wanted` takes, of those kept or as they come (the
  // others are kept), or nothing once no message came for `timeout` or the
  // server's output ended.
  std::optional<Json> take(const std::function<bool(const Json&)>& wanted,
                           std::chrono::milliseconds timeout = 20s);
  // The answer to request `id`, null when none came.
  Json answer(int id) {
    return take([id](const Json& m) {
             return m.contains("id") && m["id"] == id && !m.contains("method");
           })
        .value_or(nullptr);
  }
  Json request(const std::string& method, const Json& params) {
    return answer(ask(method, params));
  }
  std::optional<Json> notification(const std::string& method,
                                   std::chrono::milliseconds timeout = 20s) {
    return take([&](const Json& m) { return m.value("method", "") == method; },
                timeout);
  }

  // initialize with `params` (capabilities {} when null) and initialized.
  Json initialize(Json params = nullptr) {
    if (params.is_null()) params = {{"capabilities", Json::object()}};
    Json answer = request("initialize", params);
    notify("initialized", Json::object());
    return answer;
  }
  void open(const std::string& uri, std::string_view text, int version = 1) {
    notify("textDocument/didOpen", {{"textDocument",
                                     {{"uri", uri},
                                      {"languageId", "zem"},
                                      {"version", version},
                                      {"text", text}}}});
  }

  // The client's cache folder, $XDG_CACHE_HOME of the server.
  const std::filesystem::path& cache() const { return cache_.path(); }

  void close_input();
  // Waits for the server to end; its exit status, or -1 when it did not
  // end within `timeout` (it is killed then).
  int wait(std::chrono::milliseconds timeout = 20s);

 private:
  std::optional<Json> read_one(std::chrono::milliseconds timeout);

  ScratchDir empty_path_;  // PATH without a compiler
  ScratchDir cache_;
  pid_t pid_ = -1;
  int to_server_ = -1;
  int from_server_ = -1;
  int next_id_ = 1;
  lsp::FrameReader reader_;
  std::deque<Json> kept_;
};

// A document URI for tests.
inline std::string test_uri(std::string_view name) {
  return "file:///work/" + std::string(name);
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_LSP_LSP_CLIENT_H_
