#include "support/codegen.h"

#include "codegen/output.h"
#include "driver/translate.h"
#include "lexer/tokenizer.h"
#include "support/sjis.h"
#include "symbols/declare.h"

namespace zemuc::testing {
namespace {

// Tabs and line ends made visible, so that a failure shows where they are.
std::string shown(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

CodegenRun::CodegenRun(const Lines& declared) {
  for (const std::string& line : declared) {
    load(line);
    declare_line(ctx_.tables, ctx_.line);
  }
}

Generated CodegenRun::generate(const Lines& lines) {
  Generated result;
  StringSink sink(result.text);
  Output out(sink);
  for (const std::string& line : lines) {
    load(line);
    result.status = generate_line(ctx_, out);
    if (result.status == kStatusFailed) break;
  }
  out.flush();
  return result;
}

void CodegenRun::load(std::string_view utf8_line) {
  ctx_.raw = sjis(utf8_line);
  ctx_.line.text = ctx_.raw;
  tokenize_line(ctx_.line);
}

Generated translate_lines(const Lines& lines) {
  CodegenRun run(lines);
  return run.generate(lines);
}

::testing::AssertionResult SameSjis(std::string_view actual,
                                    std::string_view expected_utf8) {
  if (actual == sjis(expected_utf8)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "\n--- expected ---\n"
         << shown(expected_utf8) << "\n--- actual ---\n"
         << shown(utf8(actual)) << "\n---";
}

}  // namespace zemuc::testing
