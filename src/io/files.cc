#include "io/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace zemuc {
namespace {

class StreamSource : public ByteSource {
 public:
  explicit StreamSource(std::FILE* file) : file_(file) {}
  ~StreamSource() override { std::fclose(file_); }
  StreamSource(const StreamSource&) = delete;
  StreamSource& operator=(const StreamSource&) = delete;

  std::ptrdiff_t read(char* buffer, std::size_t size) override {
    const std::size_t n = std::fread(buffer, 1, size, file_);
    if (n == 0 && std::ferror(file_)) return -1;
    return static_cast<std::ptrdiff_t>(n);
  }

 private:
  std::FILE* file_;
};

// Empties the output open as `fd`, unless it is the file that `source`
// names: false then, or when it cannot be emptied.
bool empty_unless_source(int fd, const std::string& source) {
  struct stat output;
  struct stat input;
  if (::fstat(fd, &output) != 0) return false;
  if (!source.empty() && ::stat(source.c_str(), &input) == 0 &&
      input.st_dev == output.st_dev && input.st_ino == output.st_ino) {
    return false;
  }
  // A device or a FIFO has nothing to empty, as with fopen's "w".
  return !S_ISREG(output.st_mode) || ::ftruncate(fd, 0) == 0;
}

}  // namespace

std::unique_ptr<ByteSource> DiskFiles::open_for_reading(
    const std::string& name) {
  // Binary mode: line ends are the line reader's business.
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return nullptr;
  return std::make_unique<StreamSource>(file);
}

std::unique_ptr<Sink> DiskFiles::open_for_writing(const std::string& name,
                                                  const std::string& source) {
  // Opened without emptying it, so that the very file that is emptied is
  // the one compared with the source, through whatever links led to it.
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file =
      empty_unless_source(fd, source) ? ::fdopen(fd, "wb") : nullptr;
  if (file == nullptr) {
    ::close(fd);
    return nullptr;
  }
  // Output already writes in large pieces; a second buffer would only copy.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return StreamSink::owning(file);
}

std::unique_ptr<ByteSource> MemoryFiles::open_for_reading(
    const std::string& name) {
  const auto it = files.find(name);
  if (it == files.end()) return nullptr;
  return std::make_unique<MemorySource>(it->second);
}

std::unique_ptr<Sink> MemoryFiles::open_for_writing(const std::string& name,
                                                    const std::string& source) {
  // In memory a file has one name.
  if (name == source) return nullptr;
  std::string& text = files[name];
  text.clear();
  return std::make_unique<StringSink>(text);
}

std::optional<std::string> read_whole_file(const std::string& name) {
  std::unique_ptr<ByteSource> source = DiskFiles().open_for_reading(name);
  if (source == nullptr) return std::nullopt;
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    const std::ptrdiff_t n = source->read(buffer, sizeof buffer);
    if (n < 0) {
      // Closing the source must not change what the failed read said.
      const int error = errno;
      source.reset();
      errno = error;
      return std::nullopt;
    }
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace zemuc
