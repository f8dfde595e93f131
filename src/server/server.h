// `zemuc lsp`: the language server over standard input and output.
#ifndef ZEMUC_SERVER_SERVER_H_
#define ZEMUC_SERVER_SERVER_H_

#include <string>

#include "text/language.h"

namespace zemuc::lsp {

struct ServerOptions {
  // The language of the texts unless the client's locale names one.
  Language language = Language::kEnglish;
  std::string version;
};

// Serves one client until it sends exit or closes its end. Returns the
// exit status: 0 after shutdown and exit, 1 for an exit without shutdown,
// a client gone without exit, or a stream that can no longer be read or
// written.
int serve(int in_fd, int out_fd, const ServerOptions& options);

}  // namespace zemuc::lsp

#endif  // ZEMUC_SERVER_SERVER_H_
