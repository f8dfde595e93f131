// What a file of the playground's site is answered with: its type, which
// of its precompressed copies the browser takes, how long it may be kept,
// and where a request's path leads inside the site's folder, if anywhere.
#ifndef ZEMUC_SERVE_SITE_H_
#define ZEMUC_SERVE_SITE_H_

#include <optional>
#include <string>
#include <string_view>

namespace zemuc::serve {

// The Content-Type of a file by its name; application/octet-stream for a
// name the site does not use.
std::string_view content_type(std::string_view name);

// The precompressed copies the site has beside a file, best first: the
// suffix of the copy's name and its Content-Encoding.
struct Coding {
  std::string_view suffix;
  std::string_view name;
};
inline constexpr Coding kCodings[] = {{".br", "br"}, {".gz", "gzip"}};

// Whether an Accept-Encoding header takes `coding`: named (or "*") with no
// q=0.
bool accepts(std::string_view accept_encoding, std::string_view coding);

// The Cache-Control of a file: what tells of a new version of the site
// (the page, its service worker, the list of files) is asked again every
// time; the rest is kept for a lesson's length.
std::string_view cache_control(std::string_view name);

// The real path of the file a request's path names inside `root` (itself
// a real path), or nothing: a path with "..", "." or a NUL among its
// parts, a file that is not there, a symbolic link that leads out of
// `root`, or anything but a regular file. The folder itself is its
// index.html; any other folder is nothing, so nothing is listed.
std::optional<std::string> file_in_site(const std::string& root,
                                        std::string_view request_path);

// The real path of `path` when it is a regular file inside `root`.
std::optional<std::string> file_under(const std::string& root,
                                      const std::string& path);

}  // namespace zemuc::serve

#endif  // ZEMUC_SERVE_SITE_H_
