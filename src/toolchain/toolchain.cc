#include "toolchain/toolchain.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "program/compile_flags.h"
#include "sys/disk.h"
#include "sys/process.h"
#include "text/words.h"
#include "toolchain/abilities.h"

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

bool is_file(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The major number of the first word of `words` that reads as a dotted
// version ("10.2.1"), 0 for none.
int first_dotted_major(std::string_view words) {
  for (const std::string& word : words_of(words)) {
    const std::size_t dot = word.find('.');
    if (dot != std::string::npos && dot > 0) {
      if (const auto major =
              number_of<int>(std::string_view(word).substr(0, dot))) {
        return *major;
      }
    }
  }
  return 0;
}

}  // namespace

void identify(const std::string& version_text, Toolchain& toolchain) {
  const std::string_view text = version_text;
  const std::string_view first = text.substr(0, text.find('\n'));
  if (const std::size_t at = first.find("clang version ");
      at != std::string_view::npos) {
    // "Debian clang version 14.0.6", "Apple clang version 15.0.0 (...)".
    toolchain.family = Family::kClang;
    toolchain.major_version = leading_number<int>(first.substr(at + 14));
  } else if (text.find("Free Software Foundation") != std::string_view::npos) {
    // "gcc (Debian 12.2.0-14) 12.2.0", "gcc (Debian 10.2.1-6) 10.2.1
    // 20210110", "cc (GCC) 9.4.0": the first dotted number after the
    // maker's words in brackets; a date may follow it.
    toolchain.family = Family::kGcc;
    const std::size_t close = first.rfind(')');
    toolchain.major_version = first_dotted_major(
        close == std::string_view::npos ? first.substr(first.find(' ') + 1)
                                        : first.substr(close + 1));
  } else {
    // tcc's "tcc version 0.9.27 (x86_64 Linux)", or a compiler unknown.
    toolchain.family = Family::kOther;
    if (const std::size_t at = first.find(" version ");
        at != std::string_view::npos) {
      toolchain.major_version = first_dotted_major(first.substr(at + 9));
    }
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
  const Captured version =
      run_and_capture(ask, {"LC_ALL=C", "LANGUAGE"}, {}, kAnswerLimit);
  if (version.ended && version.ended->status == 0) {
    toolchain.version_text = version.output;
    identify(toolchain.version_text, toolchain);
  }
  toolchain.abilities = learn_abilities(toolchain);

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
  std::vector<std::string> flags(std::begin(kLanguageFlags),
                                 std::end(kLanguageFlags));
  const bool gcc = toolchain.family == Family::kGcc;
  const bool clang = toolchain.family == Family::kClang;
  if (gcc) {
    // Names in UTF-8 in C89, as C99 reads them.
    flags.push_back("-fextended-identifiers");
    flags.push_back("-fno-diagnostics-show-caret");
    flags.push_back("-fdiagnostics-color=never");
    // Since gcc 11 it counts columns as shown, with tabs, from the file a
    // #line names: the source, which is not what it compiles. One that
    // counts bytes already refuses the option, whatever its version says.
    flags.push_back("-fdiagnostics-column-unit=byte");
  } else if (clang) {
    flags.insert(flags.end(), std::begin(kClangMessageFlags),
                 std::end(kClangMessageFlags));
  }
  if (gcc || clang) {
    flags.insert(flags.end(), std::begin(kWarningFlags),
                 std::end(kWarningFlags));
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
  std::erase_if(flags, [&](const std::string& flag) {
    return !toolchain.abilities.takes(flag);
  });
  return flags;
}

bool Abilities::takes(std::string_view option) const {
  return std::find(refused.begin(), refused.end(), option) == refused.end();
}

std::vector<std::string> link_flags() {
  return {std::begin(kLinkFlags), std::end(kLinkFlags)};
}

}  // namespace zemuc::toolchain
