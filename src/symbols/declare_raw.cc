#include "symbols/declare_raw.h"

#include <array>

#include "lexer/line_scan.h"
#include "lexer/sjis_texts.h"
#include "lexer/tokenizer.h"
#include "symbols/declare.h"

namespace zemuc {
namespace {

// The first bytes of the tokens that declare something: the two name marks
// and the first bytes of the repeat and file-opening keywords.
constexpr std::array<bool, 256> make_declaring_starts() {
  std::array<bool, 256> starts{};
  for (std::string_view t :
       {sjis::kNumericMark, sjis::kStringMark, sjis::kRepeat, sjis::kOpen}) {
    starts[static_cast<unsigned char>(t[0])] = true;
  }
  return starts;
}

constexpr std::array<bool, 256> kDeclaringStarts = make_declaring_starts();

// Declares from each token as declare_line does, as the scan hands them
// over. A file-opening keyword stops the scan: its file is described by the
// tokens after it, which the caller then takes from the whole line.
class DeclareSink {
 public:
  explicit DeclareSink(SymbolTables& tables) : tables_(tables) {}

  bool token(const char* begin, std::size_t size, std::size_t, char) {
    ++count_;
    // Every name mark and keyword is two bytes or more.
    if (size < 2 || !kDeclaringStarts[static_cast<unsigned char>(*begin)]) {
      return true;
    }
    const std::string_view token(begin, size);
    if (is_variable_name(token)) {
      declare_name(tables_, token);
    } else if (token == sjis::kRepeat) {
      declare_counter(tables_);
    } else if (token == sjis::kOpen) {
      return false;
    }
    return true;
  }
  // The tokens handed over so far.
  std::size_t count() const { return count_; }

 private:
  SymbolTables& tables_;
  std::size_t count_ = 0;
};

}  // namespace

void declare_raw_line(SymbolTables& tables, TokenLine& scratch,
                      std::string_view raw) {
  if (raw.empty() || raw.back() != '\n') {
    tokenize_raw(scratch, raw);
    declare_line(tables, scratch);
    return;
  }
  DeclareSink sink(tables);
  const ScanEnd end = scan_line<FastBytes>(raw.data(), sink);
  if (end == ScanEnd::kDone) return;
  // The tokens declared so far are the first ones of the whole line too;
  // the rest of the line is declared from its TokenLine. A line with a
  // space goes straight to the squeezing tokenizer, which the fast one
  // would hand it to anyway.
  if (end == ScanEnd::kSpace) {
    scratch.text.assign(raw);
    tokenize_line(scratch);
  } else {
    tokenize_raw(scratch, raw);
  }
  declare_tokens(tables, scratch,
                 end == ScanEnd::kStopped ? sink.count() : sink.count() + 1);
}

}  // namespace zemuc
