// Running the built translator as a user would, in a scratch folder.
#ifndef ZEMUC_TESTS_SUPPORT_RUN_H_
#define ZEMUC_TESTS_SUPPORT_RUN_H_

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zemuc::testing {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `bytes` to the file `name` in the folder; returns its path.
  std::filesystem::path write(const std::string& name,
                              std::string_view bytes) const;
  // The bytes of the file `name`.
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// A program started with pipes for its standard input and output, and
// for its standard error unless it shares the test's own.
struct StartedProgram {
  pid_t pid = -1;
  int in = -1;   // its standard input, for writing
  int out = -1;  // its standard output, for reading
  int err = -1;  // its standard error, for reading; -1 when shared
};

// Starts `program` (a full path) with `args` in `cwd`; throws when it
// cannot be started.
StartedProgram start_program(const std::string& program,
                             const std::vector<std::string>& args,
                             const std::filesystem::path& cwd,
                             bool capture_err = true);

// Waits for it: its exit status, or -1 when a signal ended it.
int wait_for_exit(pid_t pid);

struct RunResult {
  std::string out;  // standard output, byte for byte
  std::string err;  // standard error
  int status = -1;  // exit status; -1 when the process did not exit
};

// Runs `program` with `args` in `cwd`, feeding it `input` on standard input.
RunResult run_program(const std::string& program,
                      const std::vector<std::string>& args,
                      std::string_view input, const std::filesystem::path& cwd);

// Runs the built zemucfilter.
RunResult run_translator(const std::vector<std::string>& args,
                         const std::filesystem::path& cwd,
                         std::string_view input = "\n");

struct PromptedRun {
  RunResult result;
  // Whether standard output ended with the prompt before any input was
  // sent, while the program was still waiting for it.
  bool prompt_before_input = false;
};

// Runs the built zemucfilter like a user at a console: `input` is sent only
// once standard output ends with `prompt` (or after a few seconds, when
// that never happens).
PromptedRun run_translator_after_prompt(const std::vector<std::string>& args,
                                        const std::filesystem::path& cwd,
                                        std::string_view prompt,
                                        std::string_view input = "\n");

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_SUPPORT_RUN_H_
