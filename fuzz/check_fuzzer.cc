// Feeds one in-memory source to the check and renders every finding, in
// both languages and both terminal encodings, checking the shape of what
// comes out: findings in order, on lines of the source, each rendered as
// three lines that start with its place. The translation of the same
// source fails exactly when the check says a display has nothing to show.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "check/messages.h"
#include "codegen/context.h"
#include "driver/translate.h"
#include "io/files.h"
#include "io/output.h"

namespace {

void check(bool ok) {
  if (!ok) abort();
}

std::size_t count_lines(std::string_view source) {
  std::size_t lines = 0;
  for (char c : source) lines += c == '\n';
  return lines + (!source.empty() && source.back() != '\n');
}

bool translation_fails(std::string_view source) {
  zemuc::MemoryFiles files;
  files.files["in.zem"].assign(source);
  std::string console_text;
  zemuc::StringSink console_sink(console_text);
  zemuc::Output console(console_sink);
  zemuc::Context ctx;
  return zemuc::translate(ctx, "in.zem", "in.c", files, console) ==
         zemuc::kStatusFailed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  const std::vector<zemuc::check::Finding> findings =
      zemuc::check::check_source(source);
  // An empty source still has a first line: where its はじめ is missing.
  const std::size_t lines = std::max<std::size_t>(count_lines(source), 1);
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const zemuc::check::Finding& f = findings[i];
    check(f.line >= 1 && f.line <= lines && f.column >= 1);
    if (i > 0) {
      const zemuc::check::Finding& e = findings[i - 1];
      check(e.line < f.line || (e.line == f.line && e.column <= f.column));
    }
  }
  bool stops = false;
  for (const zemuc::check::Finding& f : findings) {
    stops = stops || f.problem == zemuc::check::Problem::kDisplayNothing;
  }
  check(stops == translation_fails(source));
  for (zemuc::Language language :
       {zemuc::Language::kJapanese, zemuc::Language::kEnglish}) {
    for (zemuc::Encoding terminal :
         {zemuc::Encoding::kUtf8, zemuc::Encoding::kShiftJis}) {
      const std::string out = zemuc::check::render_findings(
          "in.zem", source, findings, language, terminal);
      std::size_t newlines = 0;
      for (char c : out) newlines += c == '\n';
      // A line feed in a rendered line would break the jump to it.
      check(newlines == 3 * findings.size());
      check(findings.empty() || out.starts_with("in.zem:"));
    }
  }
  return 0;
}
