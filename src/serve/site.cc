#include "serve/site.h"

#include <sys/stat.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <utility>

namespace zemuc::serve {
namespace {

// The site's kinds of file, by the end of their names.
constexpr std::pair<std::string_view, std::string_view> kTypes[] = {
    {".html", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".mjs", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".json", "application/json"},
    {".webmanifest", "application/manifest+json"},
    {".wasm", "application/wasm"},
    {".tar", "application/x-tar"},
    {".c", "text/plain; charset=utf-8"},
    {".h", "text/plain; charset=utf-8"},
    {".txt", "text/plain; charset=utf-8"},
    {".zem", "text/plain; charset=utf-8"},
    {".svg", "image/svg+xml"},
    {".png", "image/png"},
    {".ico", "image/x-icon"},
};

// The files whose change makes a new version of the site.
constexpr std::string_view kRevalidated[] = {"index.html", "sw.js",
                                             "manifest.json"};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text[0])))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

bool same_word(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Whether a coding's parameters ("q=0", "q=0.000") refuse it.
bool refused(std::string_view parameters) {
  parameters = trimmed(parameters);
  if (parameters.size() < 2 || (parameters[0] != 'q' && parameters[0] != 'Q'))
    return false;
  parameters = trimmed(parameters.substr(1));
  if (parameters.empty() || parameters[0] != '=') return false;
  parameters = trimmed(parameters.substr(1));
  return parameters.find_first_not_of("0.") == std::string_view::npos;
}

// Whether each part of a request's path names something inside the folder.
bool plain_parts(std::string_view path) {
  while (!path.empty()) {
    const std::size_t slash = path.find('/');
    const std::string_view part = path.substr(0, slash);
    if (part == ".." || part == "." ||
        part.find('\0') != std::string_view::npos ||
        part.find('\\') != std::string_view::npos)
      return false;
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return true;
}

std::optional<std::string> real_path(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
  return std::string(resolved);
}

}  // namespace

std::string_view content_type(std::string_view name) {
  for (const auto& [suffix, type] : kTypes) {
    if (name.ends_with(suffix)) return type;
  }
  return "application/octet-stream";
}

bool accepts(std::string_view accept_encoding, std::string_view coding) {
  while (!accept_encoding.empty()) {
    const std::size_t comma = accept_encoding.find(',');
    const std::string_view item = accept_encoding.substr(0, comma);
    const std::size_t semicolon = item.find(';');
    const std::string_view name = trimmed(item.substr(0, semicolon));
    if ((same_word(name, coding) || name == "*") &&
        (semicolon == std::string_view::npos ||
         !refused(item.substr(semicolon + 1))))
      return true;
    if (comma == std::string_view::npos) break;
    accept_encoding.remove_prefix(comma + 1);
  }
  return false;
}

std::string_view cache_control(std::string_view name) {
  const std::string_view base = name.substr(name.rfind('/') + 1);
  for (const std::string_view revalidated : kRevalidated) {
    if (base == revalidated) return "no-cache";
  }
  return "max-age=3600";
}

std::optional<std::string> file_in_site(const std::string& root,
                                        std::string_view request_path) {
  if (!request_path.starts_with('/') || !plain_parts(request_path.substr(1)))
    return std::nullopt;
  std::string wanted = root + std::string(request_path);
  if (request_path == "/") wanted += "index.html";
  return file_under(root, wanted);
}

std::optional<std::string> file_under(const std::string& root,
                                      const std::string& path) {
  const std::optional<std::string> real = real_path(path);
  const std::string inside = root.ends_with('/') ? root : root + "/";
  if (!real || !real->starts_with(inside)) return std::nullopt;
  struct stat info;
  if (::stat(real->c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  return real;
}

}  // namespace zemuc::serve
