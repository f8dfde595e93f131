// The open documents: their texts as the client last sent them, and the
// analysis of each text, made when first needed and dropped on a change,
// so that a burst of changes is analysed once, at its latest version.
#ifndef ZEMUC_LSP_DOCUMENTS_H_
#define ZEMUC_LSP_DOCUMENTS_H_

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lsp/analysis.h"
#include "lsp/compiler_findings.h"
#include "lsp/document_text.h"

namespace zemuc::lsp {

class Document {
 public:
  Document(std::string uri, std::int64_t version, std::string text);

  const std::string& uri() const { return uri_; }
  std::int64_t version() const { return version_; }
  const DocumentText& text() const { return text_; }
  // The analysis of the current text.
  const Analysis& analysis();

  // A change of the bytes [from, to), or of the whole text.
  void replace(std::size_t from, std::size_t to, std::string_view with);
  void set_version(std::int64_t version) { version_ = version; }

  // Whether the client has yet to get the diagnostics of this text.
  bool unpublished() const { return unpublished_; }
  void mark_published() { unpublished_ = false; }

  // Counts the changes of the text: what a build says belongs to one.
  std::uint64_t revision() const { return revision_; }
  std::chrono::steady_clock::time_point changed_at() const {
    return changed_at_;
  }
  // What the compiler said of the current text; nothing before it is
  // built.
  const std::vector<CompilerFinding>* compiler_findings() const {
    return built_revision_ == revision_ ? &compiler_findings_ : nullptr;
  }
  void set_compiler_findings(std::uint64_t revision,
                             std::vector<CompilerFinding> findings);

 private:
  std::string uri_;
  std::int64_t version_;
  DocumentText text_;
  std::unique_ptr<Analysis> analysis_;
  bool unpublished_ = true;
  std::uint64_t revision_ = 1;
  std::chrono::steady_clock::time_point changed_at_ =
      std::chrono::steady_clock::now();
  std::uint64_t built_revision_ = 0;
  std::vector<CompilerFinding> compiler_findings_;
};

class DocumentStore {
 public:
  // Opening a document that is open already starts it anew.
  Document& open(const std::string& uri, std::int64_t version,
                 std::string text);
  void close(const std::string& uri);
  Document* find(const std::string& uri);
  // The documents whose diagnostics are not yet published, oldest change
  // first.
  std::vector<Document*> unpublished();

 private:
  std::map<std::string, std::unique_ptr<Document>> documents_;
};

// The name a document is translated under: the last part of its URI's
// path.
std::string source_name_of(std::string_view uri);

}  // namespace zemuc::lsp

#endif  // ZEMUC_LSP_DOCUMENTS_H_
