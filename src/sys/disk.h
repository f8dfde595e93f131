// Files that appear whole or not at all.
#ifndef ZEMUC_SYS_DISK_H_
#define ZEMUC_SYS_DISK_H_

#include <optional>
#include <string>
#include <string_view>

namespace zemuc {

// A scratch file in the folder of its final name, so that taking that name
// is one rename; removed unless it took it. Its name is hidden, and no
// longer than a long final name. A failure leaves errno set.
class ScratchFile {
 public:
  static std::optional<ScratchFile> beside(const std::string& final_name);
  ScratchFile(ScratchFile&& other) noexcept;
  ScratchFile& operator=(ScratchFile&&) = delete;
  ~ScratchFile();

  const std::string& path() const { return path_; }
  // Replaces the file's contents with `bytes`, readable as the umask allows.
  bool fill(std::string_view bytes);
  // Lets everyone the umask allows run it.
  bool make_executable();
  // Renames it to `final_name`, unless that name holds a device, a FIFO
  // or a socket (errno EEXIST then).
  bool take_name(const std::string& final_name);

 private:
  explicit ScratchFile(std::string path) : path_(std::move(path)) {}
  std::string path_;  // empty once it has taken its name
};

// What a name that an output is to take holds now (stat follows links).
enum class NameHolds {
  kNothing,
  kFile,    // a regular file, which an output may replace
  kFolder,  // which it never may,
  kOther,   // nor a device, a FIFO or a socket
};
// Nothing, with errno set, when that cannot be learned.
std::optional<NameHolds> what_name_holds(const std::string& path);

// Whether the two names are one file that exists, by whatever names.
bool same_file(const std::string& a, const std::string& b);

// Whether the two names are one file, or would be: one file that exists,
// or one name in one folder.
bool same_place(const std::string& a, const std::string& b);

// Whether the file system of `folder` lets no program run from it
// (mounted noexec). False also when that cannot be learned: starting a
// program there then says why it cannot.
bool forbids_programs(const std::string& folder);

// The folder of the running program, where its installed files are found
// relative to it; "." when the system does not tell it.
std::string own_folder();

// Writes `bytes` to `path` through a scratch file: an existing file of that
// name is replaced only by the whole new text. False with errno set.
bool write_whole_file(const std::string& path, std::string_view bytes);

// A private folder under $TMPDIR (or /tmp), removed with what it holds.
class ScratchFolder {
 public:
  static std::optional<ScratchFolder> make();
  // The folder it is made in.
  static std::string place();
  ScratchFolder(ScratchFolder&& other) noexcept;
  ScratchFolder& operator=(ScratchFolder&&) = delete;
  ~ScratchFolder();
  const std::string& path() const { return path_; }

 private:
  explicit ScratchFolder(std::string path) : path_(std::move(path)) {}
  std::string path_;
};

}  // namespace zemuc

#endif  // ZEMUC_SYS_DISK_H_
