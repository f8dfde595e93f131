#include "sys/disk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <utility>

#include "sys/fd.h"

namespace zemuc {
namespace {

// The mode a new file gets: `mode` less the umask, which can only be read
// by setting it.
mode_t allowed(mode_t mode) {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mode & ~mask;
}

// A name's folder, with its slash ("" for the current folder), and the
// name in it.
std::pair<std::string, std::string> folder_and_base(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return {"", name};
  return {name.substr(0, slash + 1), name.substr(slash + 1)};
}

// The hidden name of a scratch file for `base`. A long base is cut so that
// the name is no longer than the base itself: any name a folder takes has
// its scratch file there too.
std::string hidden_name(std::string base) {
  constexpr std::string_view kMark = ".zemuc-XXXXXX";
  constexpr std::size_t kAdded = 1 + kMark.size();
  constexpr std::size_t kKeptWhole = 64;
  if (base.size() > kKeptWhole) {
    std::size_t keep = base.size() - kAdded;
    // Not inside a UTF-8 character, which a listing would show broken.
    while (keep > 0 &&
           (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) {
      --keep;
    }
    base.resize(keep);
  }
  return "." + base + std::string(kMark);
}

}  // namespace

std::optional<ScratchFile> ScratchFile::beside(const std::string& final_name) {
  const auto [folder, base] = folder_and_base(final_name);
  std::string path = folder + hidden_name(base);
  UniqueFd fd(::mkstemp(path.data()));
  if (!fd) return std::nullopt;
  return ScratchFile(std::move(path));
}

ScratchFile::ScratchFile(ScratchFile&& other) noexcept
    : path_(std::move(other.path_)) {
  other.path_.clear();
}

ScratchFile::~ScratchFile() {
  if (!path_.empty()) ::unlink(path_.c_str());
}

bool ScratchFile::fill(std::string_view bytes) {
  UniqueFd fd(::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  // A full disk may show only when the file is closed.
  return fd && ::fchmod(fd.get(), allowed(0666)) == 0 &&
         write_all(fd.get(), bytes) && fd.close();
}

bool ScratchFile::make_executable() {
  return ::chmod(path_.c_str(), allowed(0777)) == 0;
}

bool ScratchFile::take_name(const std::string& final_name) {
  const std::optional<NameHolds> holds = what_name_holds(final_name);
  if (!holds) return false;
  if (holds == NameHolds::kOther) {
    errno = EEXIST;
    return false;
  }
  if (::rename(path_.c_str(), final_name.c_str()) != 0) return false;
  path_.clear();
  return true;
}

std::optional<NameHolds> what_name_holds(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return NameHolds::kNothing;
    return std::nullopt;
  }
  if (S_ISREG(info.st_mode)) return NameHolds::kFile;
  return S_ISDIR(info.st_mode) ? NameHolds::kFolder : NameHolds::kOther;
}

bool same_file(const std::string& a, const std::string& b) {
  struct stat first;
  struct stat second;
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool same_place(const std::string& a, const std::string& b) {
  if (same_file(a, b)) return true;
  const auto [folder_a, base_a] = folder_and_base(a);
  const auto [folder_b, base_b] = folder_and_base(b);
  return !base_a.empty() && base_a == base_b &&
         same_file(folder_a.empty() ? "." : folder_a,
                   folder_b.empty() ? "." : folder_b);
}

bool write_whole_file(const std::string& path, std::string_view bytes) {
  std::optional<ScratchFile> scratch = ScratchFile::beside(path);
  return scratch && scratch->fill(bytes) && scratch->take_name(path);
}

bool forbids_programs(const std::string& folder) {
  struct statvfs info;
  return ::statvfs(folder.c_str(), &info) == 0 &&
         (info.f_flag & ST_NOEXEC) != 0;
}

std::string ScratchFolder::place() {
  const char* tmpdir = std::getenv("TMPDIR");
  return tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
}

std::optional<ScratchFolder> ScratchFolder::make() {
  std::string path = place() + "/zemuc-XXXXXX";
  if (::mkdtemp(path.data()) == nullptr) return std::nullopt;
  return ScratchFolder(std::move(path));
}

ScratchFolder::ScratchFolder(ScratchFolder&& other) noexcept
    : path_(std::move(other.path_)) {
  other.path_.clear();
}

ScratchFolder::~ScratchFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string own_folder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  const std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/'));
}

}  // namespace zemuc
