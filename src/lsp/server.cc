#include "lsp/server.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "lsp/documents.h"
#include "lsp/features.h"
#include "lsp/framing.h"
#include "lsp/initialize.h"
#include "lsp/protocol.h"
#include "lsp/transport.h"
#include "sys/fd.h"
#include "sys/signals.h"

namespace zemuc::lsp {
namespace {

// A request that cannot be answered with a result.
struct RequestError {
  int code;
  std::string message;
};

std::string invalid_params(std::string_view method) {
  return "invalid params for " + std::string(method);
}

class Server {
 public:
  Server(const ServerOptions& options, int out_fd)
      : options_(options), out_fd_(out_fd) {
    session_.language = options.language;
  }

  // Handles the messages that came together, in their order; a request
  // that a later message of the same batch cancels is answered as
  // cancelled.
  void handle_batch(const std::vector<Frame>& frames);
  // Publishes the diagnostics of one document that waits for them; false
  // when none waits.
  bool publish_next();

  std::optional<int> exit_status() const { return exit_status_; }
  bool broken() const { return broken_; }

 private:
  enum class State { kWaiting, kRunning, kShutDown };
  using Handler = Json (Server::*)(const Json& params);
  struct Route {
    std::string_view method;
    Handler handler;
  };

  void handle(const Message& message, const std::vector<Json>& cancelled);
  void request(const Message& message);
  void notification(const Message& message);
  Json answer(const Message& message);

  Json initialize(const Json& params);
  Json shutdown(const Json& params);
  Json on_hover(const Json& params);
  Json on_completion(const Json& params);
  Json on_definition(const Json& params);
  Json on_references(const Json& params);
  Json on_symbols(const Json& params);
  Json on_code_action(const Json& params);

  Json did_open(const Json& params);
  Json did_change(const Json& params);
  Json did_close(const Json& params);

  Document& document_of(const Json& params);
  void send(const std::string& body);
  void log(std::string_view text);

  const ServerOptions& options_;
  int out_fd_;
  State state_ = State::kWaiting;
  Session session_;
  DocumentStore documents_;
  std::optional<int> exit_status_;
  bool broken_ = false;
};

void Server::send(const std::string& body) {
  if (broken_) return;
  if (!write_message(out_fd_, body)) broken_ = true;
}

// Said on standard error, which editors keep in their logs, and to the
// client once the handshake allows notifications.
void Server::log(std::string_view text) {
  const std::string line = "zemuc lsp: " + std::string(text) + "\n";
  // Standard error may be closed; the protocol goes on without it.
  if (!write_all(STDERR_FILENO, line)) errno = 0;
  if (state_ == State::kRunning) {
    constexpr int kErrorType = 1;
    send(notification_body("window/logMessage",
                           {{"type", kErrorType}, {"message", text}}));
  }
}

void Server::handle_batch(const std::vector<Frame>& frames) {
  std::vector<Message> messages;
  std::vector<Json> cancelled;
  for (const Frame& frame : frames) {
    if (frame.malformed) {
      log("a malformed header was skipped: " + frame.body);
      continue;
    }
    messages.push_back(read_message(frame.body));
    const Message& message = messages.back();
    if (message.kind == Message::Kind::kNotification &&
        message.method == "$/cancelRequest" && message.params.is_object()) {
      if (const auto id = message.params.find("id");
          id != message.params.end()) {
        cancelled.push_back(*id);
      }
    }
  }
  for (const Message& message : messages) {
    if (exit_status_ || broken_) return;
    handle(message, cancelled);
  }
}

void Server::handle(const Message& message,
                    const std::vector<Json>& cancelled) {
  switch (message.kind) {
    case Message::Kind::kUnparsable:
      send(error_body(nullptr, error_code::kParseError, message.problem));
      return;
    case Message::Kind::kInvalid:
      send(
          error_body(message.id, error_code::kInvalidRequest, message.problem));
      return;
    case Message::Kind::kResponse:
      return;  // the server asks nothing, so it waits for no answer
    case Message::Kind::kNotification:
      notification(message);
      return;
    case Message::Kind::kRequest:
      if (std::find(cancelled.begin(), cancelled.end(), message.id) !=
          cancelled.end()) {
        send(
            error_body(message.id, error_code::kRequestCancelled, "cancelled"));
        return;
      }
      request(message);
      return;
  }
}

void Server::request(const Message& message) {
  if (state_ == State::kWaiting && message.method != "initialize") {
    send(error_body(message.id, error_code::kServerNotInitialized,
                    "the server is not initialized yet"));
    return;
  }
  if (state_ == State::kShutDown) {
    send(error_body(message.id, error_code::kInvalidRequest,
                    "the server is shut down; only exit is taken"));
    return;
  }
  try {
    const Json result = answer(message);
    send(result_body(message.id, result));
  } catch (const RequestError& error) {
    send(error_body(message.id, error.code, error.message));
  } catch (const Json::exception&) {
    // Params missing or of the wrong type. The library's own words name
    // its internals, not what the client sent.
    send(error_body(message.id, error_code::kInvalidParams,
                    invalid_params(message.method)));
  } catch (const std::exception& error) {
    send(error_body(message.id, error_code::kInternalError, error.what()));
  }
}

Json Server::answer(const Message& message) {
  static constexpr std::array<Route, 8> kRequests{{
      {"initialize", &Server::initialize},
      {"shutdown", &Server::shutdown},
      {"textDocument/hover", &Server::on_hover},
      {"textDocument/completion", &Server::on_completion},
      {"textDocument/definition", &Server::on_definition},
      {"textDocument/references", &Server::on_references},
      {"textDocument/documentSymbol", &Server::on_symbols},
      {"textDocument/codeAction", &Server::on_code_action},
  }};
  for (const Route& route : kRequests) {
    if (route.method == message.method) {
      return (this->*route.handler)(message.params);
    }
  }
  throw RequestError{error_code::kMethodNotFound,
                     "no method " + message.method};
}

void Server::notification(const Message& message) {
  if (message.method == "exit") {
    exit_status_ = state_ == State::kShutDown ? 0 : 1;
    return;
  }
  // Before initialize every notification but exit is dropped, and after
  // shutdown there is nothing left to do with one.
  if (state_ != State::kRunning) return;
  static constexpr std::array<Route, 3> kNotifications{{
      {"textDocument/didOpen", &Server::did_open},
      {"textDocument/didChange", &Server::did_change},
      {"textDocument/didClose", &Server::did_close},
  }};
  for (const Route& route : kNotifications) {
    if (route.method != message.method) continue;
    try {
      (this->*route.handler)(message.params);
    } catch (const RequestError& error) {
      log(message.method + ": " + error.message);
    } catch (const Json::exception&) {
      log(invalid_params(message.method));
    } catch (const std::exception& error) {
      log(message.method + ": " + error.what());
    }
    return;
  }
  // Any other notification ($/cancelRequest, initialized, didSave...) asks
  // for nothing the server does.
}

Json Server::initialize(const Json& params) {
  if (state_ != State::kWaiting) {
    throw RequestError{error_code::kInvalidRequest, "initialized already"};
  }
  session_ = agree(params, options_.language);
  state_ = State::kRunning;
  return initialize_result(session_, options_.version);
}

Json Server::shutdown(const Json&) {
  state_ = State::kShutDown;
  return nullptr;
}

Document& Server::document_of(const Json& params) {
  const std::string uri =
      params.at("textDocument").at("uri").get<std::string>();
  Document* document = documents_.find(uri);
  if (document == nullptr) {
    throw RequestError{error_code::kInvalidParams, "no open document " + uri};
  }
  return *document;
}

Json Server::on_hover(const Json& params) {
  return hover(document_of(params), position_param(params.at("position")),
               session_);
}

Json Server::on_completion(const Json& params) {
  return completion(document_of(params), position_param(params.at("position")),
                    session_);
}

Json Server::on_definition(const Json& params) {
  return definition(document_of(params), position_param(params.at("position")),
                    session_);
}

Json Server::on_references(const Json& params) {
  bool include_declaration = true;
  if (const auto context = params.find("context");
      context != params.end() && context->is_object()) {
    include_declaration = context->value("includeDeclaration", true);
  }
  return references(document_of(params), position_param(params.at("position")),
                    include_declaration, session_);
}

Json Server::on_symbols(const Json& params) {
  return document_symbols(document_of(params), session_);
}

Json Server::on_code_action(const Json& params) {
  const Json& range = params.at("range");
  if (const auto context = params.find("context");
      context != params.end() && context->is_object()) {
    if (const auto only = context->find("only");
        only != context->end() && only->is_array()) {
      bool wanted = false;
      for (const Json& kind : *only) {
        wanted = wanted || kind == "quickfix" || kind == "";
      }
      if (!wanted) return Json::array();
    }
  }
  return code_actions(document_of(params), position_param(range.at("start")),
                      position_param(range.at("end")), session_);
}

Json Server::did_open(const Json& params) {
  const Json& item = params.at("textDocument");
  documents_.open(item.at("uri").get<std::string>(),
                  item.value("version", std::int64_t{0}),
                  item.at("text").get<std::string>());
  return nullptr;
}

Json Server::did_change(const Json& params) {
  Document& document = document_of(params);
  for (const Json& change : params.at("contentChanges")) {
    const std::string& text = change.at("text").get_ref<const std::string&>();
    if (const auto range = change.find("range"); range != change.end()) {
      const DocumentText& current = document.text();
      const std::size_t from = current.offset_of(
          position_param(range->at("start")), session_.encoding);
      const std::size_t to = current.offset_of(position_param(range->at("end")),
                                               session_.encoding);
      document.replace(from, to, text);
    } else {
      document.replace(0, document.text().text().size(), text);
    }
  }
  if (const auto version = params.at("textDocument").find("version");
      version != params.at("textDocument").end() &&
      version->is_number_integer()) {
    document.set_version(version->get<std::int64_t>());
  }
  return nullptr;
}

Json Server::did_close(const Json& params) {
  const std::string uri =
      params.at("textDocument").at("uri").get<std::string>();
  documents_.close(uri);
  // The closed document's diagnostics go with it.
  send(notification_body("textDocument/publishDiagnostics",
                         {{"uri", uri}, {"diagnostics", Json::array()}}));
  return nullptr;
}

bool Server::publish_next() {
  if (state_ != State::kRunning) return false;
  const std::vector<Document*> waiting = documents_.unpublished();
  if (waiting.empty()) return false;
  Document& document = *waiting.front();
  try {
    send(notification_body("textDocument/publishDiagnostics",
                           diagnostics(document, session_)));
  } catch (const std::exception& error) {
    log(std::string("no diagnostics for ") + document.uri() + ": " +
        error.what());
  }
  document.mark_published();
  return true;
}

}  // namespace

int serve(int in_fd, int out_fd, const ServerOptions& options) {
  // A client that goes away makes a write fail, not end the server.
  const IgnoredSignal no_broken_pipe(SIGPIPE);
  Server server(options, out_fd);
  FrameReader reader;
  for (;;) {
    // Waits only when nothing is left to publish; otherwise takes what has
    // come meanwhile, so that a document is analysed at its latest text.
    const ReadResult read = read_waiting(in_fd, reader, /*wait=*/false);
    ReadResult result = read;
    if (read == ReadResult::kNone && !server.publish_next()) {
      result = read_waiting(in_fd, reader, /*wait=*/true);
    }
    if (result == ReadResult::kFailed) return 1;
    std::vector<Frame> frames;
    while (std::optional<Frame> frame = reader.next()) {
      frames.push_back(std::move(*frame));
    }
    server.handle_batch(frames);
    if (server.exit_status()) return *server.exit_status();
    if (server.broken()) return 1;
    // The client closed its end without exit.
    if (result == ReadResult::kEnd) return 1;
  }
}

}  // namespace zemuc::lsp
