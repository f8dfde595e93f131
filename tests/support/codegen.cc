#include "support/codegen.h"

#include "driver/translate.h"
#include "io/output.h"
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
  raw_ = sjis(utf8_line);
  ctx_.raw = raw_;
  ctx_.line.text = raw_;
  tokenize_line(ctx_.line);
}

void expect_generated(const Lines& declared,
                      const std::vector<GenCase>& cases) {
  for (const GenCase& c : cases) {
    SCOPED_TRACE(c.what);
    CodegenRun run(declared);
    const Generated g = run.generate(c.lines);
    EXPECT_EQ(g.status, 0);
    EXPECT_TRUE(SameSjis(g.text, c.expected));
  }
}

Generated translate_lines(const Lines& lines) {
  CodegenRun run(lines);
  return run.generate(lines);
}

::testing::AssertionResult SameSjis(std::string_view actual,
                                    std::string_view expected_utf8) {
  const std::string expected = sjis(expected_utf8);
  if (actual == expected) return ::testing::AssertionSuccess();
  // Long texts are shown from a few lines before the first difference.
  std::size_t from = 0;
  while (from < actual.size() && from < expected.size() &&
         actual[from] == expected[from]) {
    ++from;
  }
  const std::size_t differs_at = from;
  for (int lines = 0; from > 0 && lines < 4; --from) {
    if (actual[from - 1] == '\n' && ++lines == 4) break;
  }
  constexpr std::size_t kShown = 2000;
  return ::testing::AssertionFailure()
         << "first difference at byte " << differs_at << " of "
         << expected.size() << " expected, " << actual.size() << " actual"
         << "\n--- expected ---\n"
         << shown(utf8(std::string_view(expected).substr(from, kShown)))
         << "\n--- actual ---\n"
         << shown(utf8(actual.substr(from, kShown))) << "\n---";
}

}  // namespace zemuc::testing
