#include "server/server.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "lsp/documents.h"
#include "lsp/features.h"
#include "server/background_build.h"
#include "server/framing.h"
#include "server/protocol.h"
#include "server/transport.h"
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
  // Publishes the diagnostics of one document whose diagnostics are
  // ready; false when none is.
  bool publish_next();
  // Moves the build on: takes what the compiler wrote, ends a build that
  // a newer text made stale, starts one whose text has rested.
  void advance_build();
  // What the loop waits for besides the client: the build's descriptor
  // (-1: none) and the milliseconds until something is due (-1: nothing).
  std::pair<int, int> build_wait();

  std::optional<int> exit_status() const { return exit_status_; }
  bool broken() const { return broken_; }

 private:
  enum class State { kWaiting, kRunning, kShutDown };
  // A handler gives the result as JSON text.
  using Handler = std::string (Server::*)(const Params& params);
  struct Route {
    std::string_view method;
    Handler handler;
  };

  void handle(const Message& message, const std::vector<RequestId>& cancelled);
  void request(const Message& message);
  void notification(const Message& message);
  std::string answer(const Message& message);

  std::string initialize(const Params& params);
  std::string shutdown(const Params& params);
  std::string on_hover(const Params& params);
  std::string on_completion(const Params& params);
  std::string on_definition(const Params& params);
  std::string on_references(const Params& params);
  std::string on_symbols(const Params& params);
  std::string on_code_action(const Params& params);

  std::string did_open(const Params& params);
  std::string did_change(const Params& params);
  std::string did_close(const Params& params);

  Document& document_of(const std::string& uri);
  // Whether the text's diagnostics wait for its build, or for the compiler
  // still looked for; starts looking for it on the first call.
  bool builds();
  Document* next_to_build();
  void stop_build_of(const std::string& uri);
  void send(const std::string& body);
  void log(std::string_view text);

  const ServerOptions& options_;
  int out_fd_;
  State state_ = State::kWaiting;
  Session session_;
  DocumentStore documents_;
  BackgroundBuild build_;
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
  if (state_ == State::kRunning) send(log_message_body(text));
}

void Server::handle_batch(const std::vector<Frame>& frames) {
  std::vector<Message> messages;
  std::vector<RequestId> cancelled;
  for (const Frame& frame : frames) {
    if (frame.malformed) {
      log("a malformed header was skipped: " + frame.body);
      continue;
    }
    messages.push_back(read_message(frame.body));
    if (const std::optional<RequestId>& id = messages.back().cancels) {
      cancelled.push_back(*id);
    }
  }
  for (const Message& message : messages) {
    if (exit_status_ || broken_) return;
    handle(message, cancelled);
  }
}

void Server::handle(const Message& message,
                    const std::vector<RequestId>& cancelled) {
  switch (message.kind) {
    case Message::Kind::kUnparsable:
      send(error_body({}, error_code::kParseError, message.problem));
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
    const std::string result = answer(message);
    send(result_body(message.id, result));
  } catch (const RequestError& error) {
    send(error_body(message.id, error.code, error.message));
  } catch (const ParamsError&) {
    // Params missing or of the wrong type. The library's own words name
    // its internals, not what the client sent.
    send(error_body(message.id, error_code::kInvalidParams,
                    invalid_params(message.method)));
  } catch (const std::exception& error) {
    send(error_body(message.id, error_code::kInternalError, error.what()));
  }
}

std::string Server::answer(const Message& message) {
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
    } catch (const ParamsError&) {
      log(invalid_params(message.method));
    } catch (const std::exception& error) {
      log(message.method + ": " + error.what());
    }
    return;
  }
  // Any other notification ($/cancelRequest, initialized, didSave...) asks
  // for nothing the server does.
}

std::string Server::initialize(const Params& params) {
  if (state_ != State::kWaiting) {
    throw RequestError{error_code::kInvalidRequest, "initialized already"};
  }
  session_ = agree(offer_param(params), options_.language);
  state_ = State::kRunning;
  return initialize_result(session_, options_.version);
}

std::string Server::shutdown(const Params&) {
  state_ = State::kShutDown;
  return null_result();
}

Document& Server::document_of(const std::string& uri) {
  Document* document = documents_.find(uri);
  if (document == nullptr) {
    throw RequestError{error_code::kInvalidParams, "no open document " + uri};
  }
  return *document;
}

std::string Server::on_hover(const Params& params) {
  const PositionParams at = position_params(params);
  return hover_result(hover(document_of(at.uri), at.position, session_));
}

std::string Server::on_completion(const Params& params) {
  const PositionParams at = position_params(params);
  return completion_result(
      completion(document_of(at.uri), at.position, session_));
}

std::string Server::on_definition(const Params& params) {
  const PositionParams at = position_params(params);
  return definition_result(
      definition(document_of(at.uri), at.position, session_));
}

std::string Server::on_references(const Params& params) {
  const bool include_declaration = include_declaration_param(params);
  const PositionParams at = position_params(params);
  return references_result(references(document_of(at.uri), at.position,
                                      include_declaration, session_));
}

std::string Server::on_symbols(const Params& params) {
  const std::string uri = uri_param(params);
  return symbols_result(document_symbols(document_of(uri), session_), uri,
                        session_.hierarchical_symbols);
}

std::string Server::on_code_action(const Params& params) {
  const CodeActionParams asked = code_action_params(params);
  if (!asked.wanted) return code_actions_result({});
  return code_actions_result(
      code_actions(document_of(asked.uri), asked.from, asked.to, session_));
}

std::string Server::did_open(const Params& params) {
  OpenedDocument opened = did_open_params(params);
  stop_build_of(opened.uri);
  documents_.open(opened.uri, opened.version, std::move(opened.text));
  return null_result();
}

std::string Server::did_change(const Params& params) {
  const DocumentChanges read = did_change_params(params);
  Document& document = document_of(read.uri);
  for (const TextChange& change : read.changes) {
    if (change.range) {
      const DocumentText& current = document.text();
      const std::size_t from =
          current.offset_of(change.range->start, session_.encoding);
      const std::size_t to =
          current.offset_of(change.range->end, session_.encoding);
      document.replace(from, to, change.text);
    } else {
      document.replace(0, document.text().text().size(), change.text);
    }
  }
  if (read.broken) throw ParamsError(*read.broken);
  if (read.version) document.set_version(*read.version);
  return null_result();
}

std::string Server::did_close(const Params& params) {
  const std::string uri = uri_param(params);
  stop_build_of(uri);
  documents_.close(uri);
  // The closed document's diagnostics go with it.
  send(diagnostics_body({uri, std::nullopt, {}}));
  return null_result();
}

bool Server::publish_next() {
  if (state_ != State::kRunning) return false;
  const std::vector<Document*> waiting = documents_.unpublished();
  const auto ready = std::find_if(
      waiting.begin(), waiting.end(), [this](const Document* document) {
        return document->compiler_findings() != nullptr || !builds();
      });
  if (ready == waiting.end()) return false;
  Document& document = **ready;
  try {
    send(diagnostics_body(diagnostics(document, session_)));
  } catch (const std::exception& error) {
    log(std::string("no diagnostics for ") + document.uri() + ": " +
        error.what());
  }
  document.mark_published();
  return true;
}

bool Server::builds() {
  return state_ == State::kRunning &&
         build_.compiler() != BackgroundBuild::Compiler::kNone;
}

void Server::stop_build_of(const std::string& uri) {
  if (build_.running() && build_.running()->uri == uri) build_.stop();
}

// A text whose diagnostics wait for its build, oldest change first.
Document* Server::next_to_build() {
  if (state_ != State::kRunning ||
      build_.compiler() != BackgroundBuild::Compiler::kFound) {
    return nullptr;
  }
  Document* next = nullptr;
  for (Document* document : documents_.unpublished()) {
    if (document->compiler_findings() == nullptr &&
        (next == nullptr || document->changed_at() < next->changed_at())) {
      next = document;
    }
  }
  return next;
}

// A text is built once it has rested this long: a burst of keystrokes
// makes one build, of its last text.
constexpr std::chrono::milliseconds kRest{150};

void Server::advance_build() {
  const Clock::time_point now = Clock::now();
  if (const std::optional<BuildKey>& key = build_.running()) {
    const Document* document = documents_.find(key->uri);
    if (document == nullptr || document->revision() != key->revision) {
      build_.stop();
    } else if (std::optional<BackgroundBuild::Done> done =
                   build_.advance(now)) {
      documents_.find(done->key.uri)
          ->set_compiler_findings(done->key.revision,
                                  std::move(done->findings));
    }
  }
  Document* next = next_to_build();
  if (build_.running() || next == nullptr || now < next->changed_at() + kRest) {
    return;
  }
  const Analysis& analysis = next->analysis();
  std::optional<BuildInput> input =
      build_input(analysis.source_name(), analysis.sjis(), build_.frame());
  if (!input || !build_.start({next->uri(), next->revision()},
                              std::move(*input), session_.language)) {
    // Nothing to build, or no build to be had: the check's findings alone.
    next->set_compiler_findings(next->revision(), {});
  }
}

std::pair<int, int> Server::build_wait() {
  const Clock::time_point now = Clock::now();
  if (build_.running()) return {build_.fd(), build_.ms_left(now)};
  // The compiler still looked for: the end of the search wakes the loop.
  if (build_.fd() >= 0) return {build_.fd(), -1};
  const Document* next = next_to_build();
  if (next == nullptr) return {-1, -1};
  const auto rest = std::chrono::ceil<std::chrono::milliseconds>(
      next->changed_at() + kRest - now);
  return {-1, static_cast<int>(std::max<std::int64_t>(rest.count(), 0))};
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
    // The build goes on between messages, and wakes the wait when its
    // compiler has written or a text has rested.
    const ReadResult result = read_waiting(in_fd, reader, /*wait=*/false);
    server.advance_build();
    if (result == ReadResult::kNone) {
      if (server.publish_next()) continue;
      const auto [build_fd, timeout_ms] = server.build_wait();
      if (!wait_readable(in_fd, build_fd, timeout_ms)) return 1;
      continue;
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
