#include "toolchain/abilities.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "io/files.h"
#include "sys/disk.h"
#include "sys/process.h"

namespace zemuc::toolchain {
namespace {

// A checked program at its smallest: it links only where the sanitizers'
// run-time is there, as the checked frame's death callback needs it.
constexpr std::string_view kCheckedProbe =
    "void __sanitizer_set_death_callback(void (*)(void));\n"
    "int main(void) {\n"
    "  __sanitizer_set_death_callback(0);\n"
    "  return 0;\n"
    "}\n";
constexpr std::string_view kChecksYes = "checks yes\n";
constexpr std::string_view kChecksNo = "checks no\n";
constexpr std::string_view kRefused = "refused ";

std::vector<std::string> settings() { return {"LC_ALL=C", "LANGUAGE"}; }

// What the compiler said to a question: nothing when it did not end by
// itself (an ending signal came, it was killed, it took too long or could
// not be started), which is no "no" and is never remembered.
enum class Answer { kYes, kNo, kNone };

Answer answer_of(const Captured& captured) {
  if (captured.interrupted || !captured.ended || captured.ended->signal != 0) {
    return Answer::kNone;
  }
  return captured.ended->status == 0 ? Answer::kYes : Answer::kNo;
}

// The options compile_flags may give this compiler that it is asked about:
// all but those every C compiler takes.
std::vector<std::string> options_to_ask(const Toolchain& toolchain) {
  Toolchain asking = toolchain;
  asking.abilities = {};
  std::vector<std::string> options = compile_flags(asking, true);
  std::erase_if(options, [](const std::string& option) {
    return option == "-std=gnu89" || option == "-g";
  });
  return options;
}

// Compiles an empty file with the option, warnings as errors, into the
// folder: some compilers (tcc) know no -fsyntax-only.
Answer takes_option(const Toolchain& toolchain, const std::string& option,
                    const std::string& folder) {
  std::vector<std::string> argv = toolchain.compiler;
  const std::string object = folder + "/empty.o";
  argv.insert(argv.end(),
              {option, "-Werror", "-c", "-x", "c", "/dev/null", "-o", object});
  std::vector<std::string> environment = settings();
  environment.push_back("TMPDIR=" + folder);
  return answer_of(run_and_capture(argv, environment, {object}, kAnswerLimit));
}

Answer builds_checked(const Toolchain& toolchain, const std::string& folder) {
  const std::string source = folder + "/probe.c";
  if (!write_whole_file(source, kCheckedProbe)) return Answer::kNone;
  std::vector<std::string> argv = toolchain.compiler;
  for (std::string& flag : compile_flags(toolchain, true)) {
    argv.push_back(std::move(flag));
  }
  argv.insert(argv.end(), {source, "-o", folder + "/probe"});
  for (std::string& flag : link_flags()) argv.push_back(std::move(flag));
  std::vector<std::string> environment = settings();
  environment.push_back("TMPDIR=" + folder);
  return answer_of(
      run_and_capture(argv, environment, {folder + "/probe"}, kAnswerLimit));
}

// Nothing where there is no folder to ask in, or a question went
// unanswered.
std::optional<Abilities> ask(const Toolchain& toolchain) {
  const std::optional<ScratchFolder> folder = ScratchFolder::make();
  if (!folder) return std::nullopt;
  Toolchain asked = toolchain;
  asked.abilities = {};
  for (const std::string& option : options_to_ask(toolchain)) {
    const Answer answer = takes_option(toolchain, option, folder->path());
    if (answer == Answer::kNone) return std::nullopt;
    if (answer == Answer::kNo) asked.abilities.refused.push_back(option);
  }
  asked.abilities.checks = false;
  if (asked.abilities.takes("-fsanitize=address,undefined")) {
    const Answer answer = builds_checked(asked, folder->path());
    if (answer == Answer::kNone) return std::nullopt;
    asked.abilities.checks = answer == Answer::kYes;
  }
  return asked.abilities;
}

// Which file the compiler is, as the system knows it: a compiler replaced
// or updated under the same name, saying the same version (a package
// rebuilt, a wrapper script edited), is asked again.
std::string file_identity(const Toolchain& toolchain) {
  struct stat status {};
  if (toolchain.compiler.empty() ||
      ::stat(toolchain.compiler[0].c_str(), &status) != 0) {
    return "file unknown";
  }
  return "file " + std::to_string(status.st_dev) + ":" +
         std::to_string(status.st_ino) + " " + std::to_string(status.st_size) +
         " " + std::to_string(status.st_mtim.tv_sec) + "." +
         std::to_string(status.st_mtim.tv_nsec);
}

// The first lines of the cache's text: the compiler's words, which file it
// is, what it says of itself, and the options it was asked about, so that
// an answer to other questions is asked again.
std::string heading(const Toolchain& toolchain) {
  std::string text = "compiler";
  for (const std::string& word : toolchain.compiler) text += " " + word;
  text += "\n" + file_identity(toolchain) + "\n" + toolchain.version_text +
          "\nasked";
  for (const std::string& option : options_to_ask(toolchain)) {
    text += " " + option;
  }
  return text + "\n.\n";
}

// $XDG_CACHE_HOME/zemuc, or ~/.cache/zemuc; empty where neither is set.
std::string cache_folder() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  if (xdg != nullptr && *xdg == '/') return std::string(xdg) + "/zemuc";
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home == '/')
    return std::string(home) + "/.cache/zemuc";
  return {};
}

// Makes the folder and those above it; false where one cannot be made.
bool make_folders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);;
       slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// The cache file of this compiler, file and version, named by a hash of
// them (FNV-1a); the heading in it says which they are.
std::string cache_file(const std::string& folder, const Toolchain& toolchain) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : heading(toolchain)) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  }
  std::string name = "compiler-";
  for (int shift = 60; shift >= 0; shift -= 4) {
    name += "0123456789abcdef"[(hash >> shift) & 0xF];
  }
  return folder + "/" + name;
}

}  // namespace

std::string abilities_text(const Toolchain& toolchain,
                           const Abilities& abilities) {
  std::string text = heading(toolchain);
  for (const std::string& option : abilities.refused) {
    text += std::string(kRefused) + option + "\n";
  }
  text += abilities.checks ? kChecksYes : kChecksNo;
  return text;
}

std::optional<Abilities> abilities_from(const Toolchain& toolchain,
                                        std::string_view text) {
  const std::string head = heading(toolchain);
  if (!text.starts_with(head)) return std::nullopt;
  text.remove_prefix(head.size());
  Abilities abilities;
  while (text.starts_with(kRefused)) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    abilities.refused.emplace_back(
        text.substr(kRefused.size(), end - kRefused.size()));
    text.remove_prefix(end + 1);
  }
  if (text != kChecksYes && text != kChecksNo) return std::nullopt;
  abilities.checks = text == kChecksYes;
  return abilities;
}

Abilities learn_abilities(const Toolchain& toolchain) {
  const std::string folder = cache_folder();
  const std::string file = folder.empty() ? "" : cache_file(folder, toolchain);
  if (!file.empty()) {
    if (const std::optional<std::string> text = read_whole_file(file)) {
      if (auto known = abilities_from(toolchain, *text)) return *known;
    }
  }
  // Unasked, everything is tried, as the build tells what fails.
  const std::optional<Abilities> abilities = ask(toolchain);
  if (!abilities) return {};
  // Not remembered, it is asked again next time: nothing worse.
  if (!file.empty() && make_folders(folder)) {
    write_whole_file(file, abilities_text(toolchain, *abilities));
  }
  return *abilities;
}

}  // namespace zemuc::toolchain
