// Feeds one source to the fast paths and to the plain ones side by side and
// checks that they agree: every line tokenized where it lies (with the
// 16-byte and the byte-by-byte scan) as the squeezing tokenizer tokenizes
// its copy, the tables declared from the lines where they lie as from their
// TokenLines, and the C text generated from either TokenLine.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codegen/context.h"
#include "driver/translate.h"
#include "io/line_reader.h"
#include "io/output.h"
#include "lexer/tokenizer.h"
#include "symbols/declare.h"
#include "symbols/declare_raw.h"
#include "symbols/dump.h"

namespace {

void check(bool ok) {
  if (!ok) abort();
}

bool same_tokens(const zemuc::TokenLine& a, const zemuc::TokenLine& b) {
  if (a.count != b.count) return false;
  for (std::size_t k = 1; k <= a.count + 1; ++k) {
    if (a.token(k) != b.token(k) || a.delim(k) != b.delim(k) ||
        a.length(k) != b.length(k) || a.before(k) != b.before(k)) {
      return false;
    }
  }
  return true;
}

std::string dump(const zemuc::SymbolTables& tables) {
  std::string text;
  zemuc::StringSink sink(text);
  zemuc::Output out(sink);
  zemuc::dump_tables(tables, out);
  out.flush();
  return text;
}

// Both passes over the source with the plain and the fast paths.
void compare(std::string_view source) {
  zemuc::Context plain, fast;
  zemuc::TokenLine portable;
  {
    zemuc::MemorySource bytes(source);
    zemuc::LineReader reader(bytes);
    std::string_view raw;
    while (reader.next(raw) == zemuc::LineReader::Result::kLine) {
      plain.line.text.assign(raw);
      zemuc::tokenize_line(plain.line);
      zemuc::tokenize_raw(fast.line, raw);
      check(same_tokens(fast.line, plain.line));
      zemuc::tokenize_raw_portable(portable, raw);
      check(same_tokens(portable, plain.line));
      zemuc::declare_line(plain.tables, plain.line);
      zemuc::declare_raw_line(fast.tables, fast.line, raw);
    }
  }
  check(dump(fast.tables) == dump(plain.tables));

  std::string plain_c, fast_c;
  zemuc::StringSink plain_sink(plain_c), fast_sink(fast_c);
  zemuc::Output plain_out(plain_sink), fast_out(fast_sink);
  zemuc::MemorySource bytes(source);
  zemuc::LineReader reader(bytes);
  while (reader.next(plain.raw) == zemuc::LineReader::Result::kLine) {
    fast.raw = plain.raw;
    plain.line.text.assign(plain.raw);
    zemuc::tokenize_line(plain.line);
    zemuc::tokenize_raw(fast.line, fast.raw);
    const int plain_status = zemuc::generate_line(plain, plain_out);
    check(zemuc::generate_line(fast, fast_out) == plain_status);
    if (plain_status != zemuc::kStatusOk) break;
  }
  plain_out.flush();
  fast_out.flush();
  check(fast_c == plain_c);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  compare(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
