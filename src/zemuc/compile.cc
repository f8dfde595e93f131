#include "zemuc/compile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sys/disk.h"
#include "sys/process.h"
#include "sys/signals.h"

#ifndef ZEMUC_DATADIR_FROM_BINDIR
#define ZEMUC_DATADIR_FROM_BINDIR "../share"
#endif

namespace zemuc {
namespace {

std::vector<std::string> words_of(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.emplace_back(text.substr(start, i - start));
  }
  return words;
}

std::string own_folder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  const std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/'));
}

bool is_file(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

const std::vector<std::string>& build_flags() {
  static const std::vector<std::string> kFlags = {
      "-std=gnu89", "-finput-charset=CP932", "-fexec-charset=CP932"};
  return kFlags;
}

std::optional<Toolchain> find_toolchain(Reporter& reporter) {
  const char* cc = std::getenv("CC");
  const bool from_env = cc != nullptr && words_of(cc).size() > 0;
  Toolchain toolchain;
  toolchain.compiler =
      from_env ? words_of(cc) : std::vector<std::string>{"gcc"};
  const std::optional<std::string> program =
      find_program(toolchain.compiler[0]);
  if (!program) {
    if (from_env) {
      reporter.error({"C コンパイラ {} ($CC) が見つかりません",
                      "the C compiler {} (from $CC) is not found"},
                     {toolchain.compiler[0]});
    } else {
      reporter.error(
          {"C コンパイラ gcc が見つかりません。'apt-get install gcc' "
           "で入れるか、CC に別のコンパイラを指定してください",
           "the C compiler gcc is not found; install it with 'apt-get install "
           "gcc', or set CC to another"});
    }
    return std::nullopt;
  }
  toolchain.compiler[0] = *program;

  const std::string folder = own_folder();
  const std::string installed =
      folder + "/" ZEMUC_DATADIR_FROM_BINDIR "/zemucfilter/delkai.c";
  const std::string in_build_tree = folder + "/share/zemucfilter/delkai.c";
  for (const std::string& candidate : {installed, in_build_tree}) {
    if (is_file(candidate)) {
      toolchain.runtime = candidate;
      return toolchain;
    }
  }
  reporter.error({"実行時ファイル delkai.c が {} にありません。zemucfilter "
                  "を入れ直してください (cmake --install)",
                  "the run-time file delkai.c is missing from {}; install "
                  "zemucfilter again (cmake --install)"},
                 {installed});
  return std::nullopt;
}

BuildResult build_program(const Toolchain& toolchain, const std::string& c_file,
                          const std::string& executable, Reporter& reporter) {
  std::optional<ScratchFile> scratch = ScratchFile::beside(executable);
  if (!scratch) {
    reporter.error({"{} を書けません: {}", "cannot write {}: {}"},
                   {executable, std::strerror(errno)});
    return BuildResult::kFailed;
  }
  std::vector<std::string> argv = toolchain.compiler;
  argv.insert(argv.end(), build_flags().begin(), build_flags().end());
  argv.insert(argv.end(), {c_file, toolchain.runtime, "-o", scratch->path()});
  const Captured captured = run_and_capture(argv);
  if (ending_signal_pending() ||
      (captured.ended && captured.ended->signal == SIGINT)) {
    return BuildResult::kInterrupted;
  }
  if (!captured.ended) {
    reporter.error({"{} を動かせません: {}", "cannot run {}: {}"},
                   {toolchain.compiler[0], std::strerror(captured.error)});
    return BuildResult::kFailed;
  }
  if (captured.ended->status != 0) {
    reporter.write(
        compiler_text_for_terminal(captured.output, reporter.terminal()));
    reporter.error({"{} を組み立てられません ({} が状態 {} で終わりました)",
                    "{} does not build ({} ended with status {})"},
                   {c_file, toolchain.compiler[0],
                    std::to_string(captured.ended->status)});
    return BuildResult::kFailed;
  }
  if (!scratch->make_executable() || !scratch->take_name(executable)) {
    reporter.error({"{} を書けません: {}", "cannot write {}: {}"},
                   {executable, std::strerror(errno)});
    return BuildResult::kFailed;
  }
  return BuildResult::kBuilt;
}

std::string compiler_text_for_terminal(std::string_view output,
                                       Encoding terminal) {
  std::string out;
  while (!output.empty()) {
    const std::size_t end = output.find('\n');
    const std::string_view line = output.substr(
        0, end == std::string_view::npos ? output.size() : end + 1);
    output.remove_prefix(line.size());
    const bool utf8 = is_valid_utf8(line);
    out += convert_text(line, utf8 ? Encoding::kUtf8 : Encoding::kShiftJis,
                        terminal);
  }
  return out;
}

}  // namespace zemuc
