// How a translation reaches its source and its output by name.
#ifndef ZEMUC_IO_FILES_H_
#define ZEMUC_IO_FILES_H_

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "io/line_reader.h"
#include "io/output.h"

namespace zemuc {

class Files {
 public:
  virtual ~Files() = default;
  // Null when the file cannot be opened.
  virtual std::unique_ptr<ByteSource> open_for_reading(
      const std::string& name) = 0;
  // Creates the file or empties it; null when that is not possible, or
  // when `name` is the file `source` by another name (a link, or another
  // path to it), which emptying would lose. An empty `source` is none.
  virtual std::unique_ptr<Sink> open_for_writing(const std::string& name,
                                                 const std::string& source) = 0;
};

// The real file system.
class DiskFiles : public Files {
 public:
  std::unique_ptr<ByteSource> open_for_reading(
      const std::string& name) override;
  std::unique_ptr<Sink> open_for_writing(const std::string& name,
                                         const std::string& source) override;
};

// Named texts in memory: a whole translation without touching the disk.
class MemoryFiles : public Files {
 public:
  std::map<std::string, std::string> files;

  std::unique_ptr<ByteSource> open_for_reading(
      const std::string& name) override;
  std::unique_ptr<Sink> open_for_writing(const std::string& name,
                                         const std::string& source) override;
};

// The whole file `name` on disk, or nothing with errno saying why.
std::optional<std::string> read_whole_file(const std::string& name);

}  // namespace zemuc

#endif  // ZEMUC_IO_FILES_H_
