// zemuc serve: the playground's site from a teacher's computer to the
// class's network, until Ctrl-C.
#ifndef ZEMUC_SERVE_SERVER_H_
#define ZEMUC_SERVE_SERVER_H_

#include <functional>
#include <string>
#include <string_view>

#include "front/reporter.h"

namespace zemuc::serve {

struct ServeOptions {
  std::string site;  // empty: the site installed with zemuc
  int port = 8080;   // 0: any free port, told when listening
  std::string bind = "0.0.0.0";
};

// Serves the site until an ending signal, saying on `say` (standard
// output) where learners find it and each learner that connects, and on
// the reporter why it cannot. Returns the exit status: 2 for a site that
// is not there, 1 for an address or port it cannot listen on. Stopped by
// a signal, it ends as the signal ends a program, once it has stopped.
int serve_site(const ServeOptions& options, Reporter& reporter,
               const std::function<void(std::string_view)>& say);

}  // namespace zemuc::serve

#endif  // ZEMUC_SERVE_SERVER_H_
