// One request for a file of the site, answered.
#ifndef ZEMUC_SERVE_ANSWER_H_
#define ZEMUC_SERVE_ANSWER_H_

#include <httplib.h>

#include <string>

namespace zemuc::serve {

// Answers a GET (or HEAD) with the file the path names inside `root` (a
// real path): its precompressed copy where the browser takes it, an ETag
// that a later visit sends back for a 304, and how long it may be kept;
// 404 for anything that is not a file of the site.
void answer_file(const std::string& root, const httplib::Request& request,
                 httplib::Response& response);

// Refuses every method but GET and HEAD with 405; true when it did.
bool refused_method(const httplib::Request& request,
                    httplib::Response& response);

}  // namespace zemuc::serve

#endif  // ZEMUC_SERVE_ANSWER_H_
