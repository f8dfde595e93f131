#include "io/files.h"

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

}  // namespace

std::unique_ptr<ByteSource> DiskFiles::open_for_reading(
    const std::string& name) {
  // Binary mode: line ends are the line reader's business.
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return nullptr;
  return std::make_unique<StreamSource>(file);
}

std::unique_ptr<Sink> DiskFiles::open_for_writing(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) return nullptr;
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

std::unique_ptr<Sink> MemoryFiles::open_for_writing(const std::string& name) {
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
