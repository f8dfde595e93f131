#include "zemuc/fault_line.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <iterator>

#include "explain/fault.h"
#include "io/files.h"
#include "program/copy.h"
#include "program/plain_frame.h"
#include "sys/fd.h"
#include "sys/process.h"

namespace zemuc {
namespace {

// The signals whose faults the program notes.
constexpr int kFaultSignals[] = {SIGFPE, SIGSEGV, SIGBUS, SIGILL};

// The tools, the first on PATH taken.
constexpr struct {
  const char* name;
  bool llvm;
} kTools[] = {{"addr2line", false}, {"llvm-symbolizer", true}};

// A number in hexadecimal after "0x", taken from the front of `text`.
std::optional<std::uint64_t> take_hex(std::string_view& text) {
  if (!text.starts_with("0x")) return std::nullopt;
  text.remove_prefix(2);
  std::uint64_t value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

// A whole number at the end of `text`, taken from it; nothing when none.
std::optional<std::size_t> take_last_number(std::string_view& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view digits = text.substr(colon + 1);
  std::size_t value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) {
    return std::nullopt;
  }
  text = text.substr(0, colon);
  return value;
}

// Whether the program is position independent (ELF type ET_DYN): its
// addresses are then counted from where it was loaded. Nothing when it
// cannot be read.
std::optional<bool> position_independent(const std::string& program) {
  const UniqueFd fd(::open(program.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return std::nullopt;
  unsigned char head[18];
  ssize_t n = -1;
  while ((n = ::pread(fd.get(), head, sizeof head, 0)) < 0 && errno == EINTR) {
  }
  if (n != static_cast<ssize_t>(sizeof head)) return std::nullopt;
  constexpr unsigned kSharedObject = 3;  // ET_DYN, little-endian
  return head[16] == kSharedObject && head[17] == 0;
}

}  // namespace

std::optional<FaultWatch> fault_watch(bool checked, const std::string& program,
                                      const std::string& folder) {
#if defined(__linux__) && defined(__x86_64__)
  if (checked) return std::nullopt;
  for (const auto& tool : kTools) {
    if (std::optional<std::string> path = find_program(tool.name)) {
      return FaultWatch{*path, tool.llvm, program, folder + "/fault"};
    }
  }
  return std::nullopt;
#else
  (void)checked, (void)program, (void)folder;
  return std::nullopt;
#endif
}

std::vector<std::string> with_fault_watch(
    std::vector<std::string> settings, const std::optional<FaultWatch>& watch) {
  if (watch) {
    settings.push_back(std::string(kFaultVariable) + "=" + watch->report);
  }
  return settings;
}

std::optional<std::uint64_t> fault_address(std::string_view note,
                                           bool relocatable) {
  const std::optional<std::uint64_t> at = take_hex(note);
  if (!at || !note.starts_with(' ')) return std::nullopt;
  note.remove_prefix(1);
  const std::optional<std::uint64_t> base = take_hex(note);
  if (!base || !note.starts_with('\n')) return std::nullopt;
  if (!relocatable) return at;
  if (*at < *base) return std::nullopt;
  return *at - *base;
}

std::optional<ToolPlace> tool_place(std::string_view answer, bool llvm) {
  answer = answer.substr(0, answer.find('\n'));
  answer = answer.substr(0, answer.find(" (discriminator "));
  if (llvm && !take_last_number(answer)) return std::nullopt;
  const std::optional<std::size_t> line = take_last_number(answer);
  if (!line || *line == 0 || answer.empty() || answer == "??") {
    return std::nullopt;
  }
  return ToolPlace{std::string(answer), *line};
}

std::string tell_fault_line(const FaultWatch& watch, const Program& program,
                            int signal, Language language, Encoding terminal) {
  if (std::find(std::begin(kFaultSignals), std::end(kFaultSignals), signal) ==
      std::end(kFaultSignals)) {
    return {};
  }
  const std::optional<std::string> note = read_whole_file(watch.report);
  const std::optional<bool> relocatable = position_independent(watch.program);
  if (!note || !relocatable) return {};
  const std::optional<std::uint64_t> address =
      fault_address(*note, *relocatable);
  if (!address) return {};
  char hex[24];
  const int n = std::snprintf(hex, sizeof hex, "0x%llx",
                              static_cast<unsigned long long>(*address));
  const std::vector<std::string> argv =
      watch.llvm
          ? std::vector<std::string>{watch.tool, "--obj=" + watch.program,
                                     "--functions=none", std::string(hex, n)}
          : std::vector<std::string>{watch.tool, "-e", watch.program,
                                     std::string(hex, n)};
  const Captured captured =
      run_and_capture(argv, {"LC_ALL=C"}, {}, kAnswerLimit);
  if (!captured.ended || captured.ended->status != 0) return {};
  const std::optional<ToolPlace> place =
      tool_place(captured.output, watch.llvm);
  if (!place || !names_file(place->file, program.source_name())) return {};
  return explain::explain_signal_at(program, signal, place->line, language,
                                    terminal);
}

}  // namespace zemuc
