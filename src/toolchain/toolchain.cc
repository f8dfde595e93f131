#include "toolchain/toolchain.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "sys/process.h"

#ifndef ZEMUC_DATADIR_FROM_BINDIR
#define ZEMUC_DATADIR_FROM_BINDIR "../share"
#endif

namespace zemuc::toolchain {
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

void identify(const std::string& version_text, Toolchain& toolchain) {
  const std::string_view text = version_text;
  const std::string_view first = text.substr(0, text.find('\n'));
  const auto major_after = [&](std::size_t at) {
    int major = 0;
    for (std::size_t i = at;
         i < first.size() && first[i] >= '0' && first[i] <= '9' && major < 1000;
         ++i) {
      major = major * 10 + (first[i] - '0');
    }
    return major;
  };
  if (const std::size_t at = first.find("clang version ");
      at != std::string_view::npos) {
    toolchain.family = Family::kClang;
    toolchain.major_version = major_after(at + 14);
  } else if (text.find("Free Software Foundation") != std::string_view::npos) {
    toolchain.family = Family::kGcc;
    // "gcc (Debian 12.2.0-14) 12.2.0": the version ends the line.
    const std::size_t space = first.rfind(' ');
    toolchain.major_version =
        major_after(space == std::string_view::npos ? 0 : space + 1);
  } else {
    toolchain.family = Family::kOther;
  }
}

std::variant<Toolchain, Trouble> find_toolchain() {
  const char* cc = std::getenv("CC");
  const bool from_env = cc != nullptr && !words_of(cc).empty();
  Toolchain toolchain;
  toolchain.compiler =
      from_env ? words_of(cc) : std::vector<std::string>{"gcc"};
  const std::optional<std::string> program =
      find_program(toolchain.compiler[0]);
  if (!program) {
    if (from_env) {
      return Trouble{{"C コンパイラ {} ($CC) が見つかりません",
                      "the C compiler {} (from $CC) is not found"},
                     {toolchain.compiler[0]}};
    }
    return Trouble{
        {"C コンパイラ gcc が見つかりません。'apt-get install gcc' "
         "で入れるか、CC に別のコンパイラを指定してください",
         "the C compiler gcc is not found; install it with 'apt-get install "
         "gcc', or set CC to another"},
        {}};
  }
  toolchain.compiler[0] = *program;
  std::vector<std::string> ask = toolchain.compiler;
  ask.push_back("--version");
  const Captured version = run_and_capture(ask, {"LC_ALL=C", "LANGUAGE"});
  if (version.ended && version.ended->status == 0) {
    toolchain.version_text = version.output;
    identify(toolchain.version_text, toolchain);
  }

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
  return Trouble{{"実行時ファイル delkai.c が {} にありません。zemucfilter "
                  "を入れ直してください (cmake --install)",
                  "the run-time file delkai.c is missing from {}; install "
                  "zemucfilter again (cmake --install)"},
                 {installed}};
}

std::vector<std::string> compile_flags(const Toolchain& toolchain,
                                       bool checked) {
  std::vector<std::string> flags = {"-std=gnu89", "-g"};
  const bool gcc = toolchain.family == Family::kGcc;
  const bool clang = toolchain.family == Family::kClang;
  if (gcc) {
    // Names in UTF-8 in C89, as C99 reads them.
    flags.push_back("-fextended-identifiers");
    flags.push_back("-fno-diagnostics-show-caret");
    flags.push_back("-fdiagnostics-color=never");
    // gcc 11 counts columns as shown, with tabs, from the file a #line
    // names: the source, which is not what it compiles.
    if (toolchain.major_version >= 11) {
      flags.push_back("-fdiagnostics-column-unit=byte");
    }
  } else if (clang) {
    flags.push_back("-fno-caret-diagnostics");
    flags.push_back("-fno-color-diagnostics");
  }
  if (gcc || clang) {
    for (const char* flag :
         {"-Wall", "-Wno-implicit-int", "-Wno-implicit-function-declaration",
          "-Wno-unused-variable", "-Wno-unused-but-set-variable",
          "-Wno-unused-label", "-Werror=int-conversion"}) {
      flags.emplace_back(flag);
    }
  }
  if (checked) {
    flags.push_back("-fsanitize=address,undefined");
    flags.push_back("-fno-sanitize-recover=all");
    flags.push_back("-fno-omit-frame-pointer");
    if (gcc) {
      // clang's undefined includes it, gcc's does not: an int from a
      // fraction too large for it (pow) is a number of nonsense otherwise.
      flags.push_back("-fsanitize=float-cast-overflow");
      // gcc's shared run-times let the undefined-behaviour sanitizer write
      // to standard error only, whatever log_path says.
      flags.push_back("-static-libasan");
      flags.push_back("-static-libubsan");
    }
  }
  return flags;
}

std::vector<std::string> link_flags() {
  // math.h is included by every program; its functions are in libm.
  return {"-lm"};
}

}  // namespace zemuc::toolchain
