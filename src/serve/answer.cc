#include "serve/answer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <optional>
#include <string_view>

#include "serve/site.h"
#include "sys/fd.h"

namespace zemuc::serve {
namespace {

// What a file is answered with: the copy sent, and its coding ("" for the
// file as it is).
struct Chosen {
  std::string path;
  std::string_view coding;
};

Chosen choose_copy(const std::string& root, const std::string& file,
                   std::string_view accept_encoding) {
  for (const Coding& coding : kCodings) {
    if (!accepts(accept_encoding, coding.name)) continue;
    if (const std::optional<std::string> copy =
            file_under(root, file + std::string(coding.suffix)))
      return {*copy, coding.name};
  }
  return {file, ""};
}

// A tag that changes with the copy's size, its time of change and its
// coding, so that the browser keeps one per coding.
std::string entity_tag(const struct stat& info, std::string_view coding) {
  const long long nanoseconds =
      static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL +
      info.st_mtim.tv_nsec;
  std::string tag = "\"";
  tag.append(std::to_string(info.st_size)).append("-");
  tag.append(std::to_string(nanoseconds));
  if (!coding.empty()) tag.append("-").append(coding);
  return tag.append("\"");
}

// Whether If-None-Match names the tag (or any tag), weak or strong.
bool still_fresh(std::string_view if_none_match, const std::string& tag) {
  if (if_none_match.find('*') != std::string_view::npos) return true;
  return if_none_match.find(tag) != std::string_view::npos;
}

void not_found(httplib::Response& response) {
  response.status = 404;
  response.set_content("not found\n", "text/plain; charset=utf-8");
}

// The file's bytes from `offset`, a piece at a time: the compiler's files
// are tens of megabytes, and a class fetches them at once.
bool send_piece(int fd, std::size_t offset, std::size_t length,
                httplib::DataSink& sink) {
  std::array<char, 64 * 1024> buffer;
  const std::size_t wanted = std::min(length, buffer.size());
  ssize_t got = 0;
  do {
    got = ::pread(fd, buffer.data(), wanted, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  // A file cut short meanwhile ends the answer rather than padding it.
  if (got <= 0) return false;
  return sink.write(buffer.data(), static_cast<std::size_t>(got));
}

}  // namespace

bool refused_method(const httplib::Request& request,
                    httplib::Response& response) {
  if (request.method == "GET" || request.method == "HEAD") return false;
  response.status = 405;
  response.set_header("Allow", "GET, HEAD");
  response.set_content("only GET and HEAD\n", "text/plain; charset=utf-8");
  return true;
}

void answer_file(const std::string& root, const httplib::Request& request,
                 httplib::Response& response) {
  const std::optional<std::string> file = file_in_site(root, request.path);
  if (!file) return not_found(response);
  const Chosen chosen =
      choose_copy(root, *file, request.get_header_value("Accept-Encoding"));
  auto fd = std::make_shared<UniqueFd>(
      ::open(chosen.path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info;
  if (!*fd || ::fstat(fd->get(), &info) != 0) return not_found(response);
  const std::string tag = entity_tag(info, chosen.coding);
  response.set_header("ETag", tag);
  response.set_header("Cache-Control", std::string(cache_control(*file)));
  response.set_header("Vary", "Accept-Encoding");
  if (still_fresh(request.get_header_value("If-None-Match"), tag)) {
    response.status = 304;
    return;
  }
  if (!chosen.coding.empty())
    response.set_header("Content-Encoding", std::string(chosen.coding));
  response.set_content_provider(
      static_cast<std::size_t>(info.st_size), std::string(content_type(*file)),
      [fd](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        return send_piece(fd->get(), offset, length, sink);
      });
}

}  // namespace zemuc::serve
