#include "lsp/documents.h"

namespace zemuc::lsp {

Document::Document(std::string uri, std::int64_t version, std::string text)
    : uri_(std::move(uri)), version_(version), text_(std::move(text)) {}

const Analysis& Document::analysis() {
  if (!analysis_) {
    analysis_ = std::make_unique<Analysis>(text_.text(), source_name_of(uri_));
  }
  return *analysis_;
}

void Document::replace(std::size_t from, std::size_t to,
                       std::string_view with) {
  text_.replace(from, to, with);
  analysis_.reset();
  unpublished_ = true;
  ++revision_;
  changed_at_ = std::chrono::steady_clock::now();
}

void Document::set_compiler_findings(std::uint64_t revision,
                                     std::vector<CompilerFinding> findings) {
  built_revision_ = revision;
  compiler_findings_ = std::move(findings);
}

Document& DocumentStore::open(const std::string& uri, std::int64_t version,
                              std::string text) {
  auto& slot = documents_[uri];
  slot = std::make_unique<Document>(uri, version, std::move(text));
  return *slot;
}

void DocumentStore::close(const std::string& uri) { documents_.erase(uri); }

Document* DocumentStore::find(const std::string& uri) {
  const auto it = documents_.find(uri);
  return it == documents_.end() ? nullptr : it->second.get();
}

std::vector<Document*> DocumentStore::unpublished() {
  std::vector<Document*> waiting;
  for (auto& [uri, document] : documents_) {
    if (document->unpublished()) waiting.push_back(document.get());
  }
  return waiting;
}

std::string source_name_of(std::string_view uri) {
  const std::size_t end = uri.find_first_of("?#");
  uri = uri.substr(0, end);
  const std::size_t slash = uri.rfind('/');
  const std::string_view name =
      slash == std::string_view::npos ? uri : uri.substr(slash + 1);
  return name.empty() ? std::string("untitled.zem") : std::string(name);
}

}  // namespace zemuc::lsp
