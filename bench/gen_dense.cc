// Writes a token-dense source of the teaching language to standard output,
// for the benchmark: short lines (about 20 bytes) of every statement kind,
// as real programs have them.
//
//   gen_dense MEGABYTES NAMES
//
// The program is a はじめ line, the two files opened, blocks of statements
// until the size is reached, the files closed and an おわり line. Every block
// displays, reads the keyboard, assigns, copies strings, has an if/else and
// two nested loops, and writes, reads and reads through the files; every
// 16th block opens and closes a file again. The variables are numbered
// names (数v00000, 字s00000: a mark, a letter and five digits) from a pool
// of NAMES, used in turn, so that sources of the same size differ in the
// digits of their names alone.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kanji.h"
#include "lexer/sjis_texts.h"

namespace {

namespace sjis = zemuc::sjis;

// The two file names and the display labels: double-byte words.
const std::string kOutFile = bench::kanji(1) + bench::kanji(2);
const std::string kInFile = bench::kanji(3) + bench::kanji(4);
const std::string kValue = "\"" + bench::kanji(5) + "\"";
const std::string kLine = "\"" + bench::kanji(6) + bench::kanji(7) + "\"";

class Generator {
 public:
  explicit Generator(long names)
      : numerics_(names - names / 4), strings_(names / 4 > 0 ? names / 4 : 1) {}

  void program(long bytes) {
    line("", sjis::kBegin, "");
    open_files();
    for (long n = 0; written_ + text_.size() < static_cast<std::size_t>(bytes);
         ++n) {
      block(n);
      if (text_.size() > (1 << 20)) flush();
    }
    close_files();
    line("", sjis::kEnd, "");
    flush();
  }

 private:
  static std::string numbered(std::string_view mark, char letter, long i) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05ld", i % 100000);
    return std::string(mark) + letter + digits;
  }
  std::string num() {
    return numbered(sjis::kNumericMark, 'v', next_num_++ % numerics_);
  }
  std::string str() {
    return numbered(sjis::kStringMark, 's', next_str_++ % strings_);
  }

  // One line: indent, text, end; most statements end with ';'.
  void line(std::string_view indent, std::string_view text,
            std::string_view end = ";") {
    text_ += indent;
    text_ += text;
    text_ += end;
    text_ += '\n';
  }
  static std::string call(std::string_view keyword, std::string_view args) {
    return std::string(keyword) + "(" + std::string(args) + ")";
  }

  void open_files() {
    line("\t", call(sjis::kOpen, std::string(kOutFile) + ",\"o.txt\",w"));
    line("\t", call(sjis::kOpen, std::string(kInFile) + ",\"i.txt\",r"));
  }
  void close_files() {
    line("\t", call(sjis::kClose, kOutFile));
    line("\t", call(sjis::kClose, kInFile));
  }

  void block(long n) {
    const std::string a = num(), b = num(), c = num(), d = num();
    const std::string s = str(), t = str();
    line("\t", call(sjis::kDisplay, std::string(kValue) + "," + a));
    line("\t", call(sjis::kInput, b));
    line("\t", c + "=" + a + "+" + b);
    line("\t", "if(" + c + ">" + b + ")", "{");
    line("\t\t", d + "=" + c + "*2");
    line("\t", "}else", "{");
    line("\t\t", d + "=0");
    line("\t", "}", "");
    line("\t", call(sjis::kRepeat, "3"), "{");
    line("\t\t", call(sjis::kRepeat, b), "{");
    line("\t\t\t", d + "=" + d + "+1");
    line("\t\t", "}", "");
    line("\t", "}", "");
    line("\t", call(sjis::kWrite, std::string(kOutFile) + "," + d));
    line("\t", call(sjis::kRead, std::string(kInFile) + "," + a));
    line("\t", call(sjis::kReadAll, std::string(kInFile) + "," + s), "{");
    line("\t\t", call(sjis::kDisplay, std::string(kLine) + "," + s));
    line("\t", "}", "");
    line("\t", t + "=\"ab\"");
    line("\t", s + "=" + t);
    line("\t", "printf(\"%d\"," + a + ")");
    if (n % 16 == 15) {
      close_files();
      open_files();
    }
  }

  void flush() {
    std::fwrite(text_.data(), 1, text_.size(), stdout);
    written_ += text_.size();
    text_.clear();
  }

  long numerics_, strings_;
  long next_num_ = 0, next_str_ = 0;
  std::string text_;
  std::size_t written_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen_dense MEGABYTES NAMES\n");
    return 2;
  }
  const long megabytes = std::atol(argv[1]);
  const long names = std::atol(argv[2]);
  if (megabytes <= 0 || names < 2 || names > 100000) {
    std::fprintf(stderr,
                 "gen_dense: need MEGABYTES > 0, 2 <= NAMES <= 100000\n");
    return 2;
  }
  Generator(names).program(megabytes * 1000 * 1000);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
