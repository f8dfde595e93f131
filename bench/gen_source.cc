// Writes a large, realistic source of the teaching language to standard
// output, for the benchmark.
//
//   gen_source MEGABYTES VARIABLES [fixed]
//
// The program is a はじめ line, procedures until the size is reached, and an
// おわり line. Every procedure uses every statement, nested loops and an
// if/else; every 64th ends with a long display line. The variables come from
// a pool of VARIABLES names, used in turn, and all names have the same
// length whatever the pool size, so that two sources of the same size
// differ in the names alone. With "fixed", the files are opened once at the
// top and closed at the end, so the tables stay at the pool's size; without,
// every procedure opens its files again, as a long program does, and the
// file table grows with the source.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kanji.h"
#include "lexer/sjis_texts.h"

namespace {

using zemuc::sjis::kClose;
using zemuc::sjis::kDisplay;
using zemuc::sjis::kInput;
using zemuc::sjis::kOpen;
using zemuc::sjis::kRead;
using zemuc::sjis::kReadAll;
using zemuc::sjis::kRepeat;
using zemuc::sjis::kWrite;

using bench::kanji;
using bench::kKanji;

class Generator {
 public:
  Generator(long variables, bool fixed)
      : numerics_(variables - variables / 4),
        strings_(variables / 4 > 0 ? variables / 4 : 1),
        fixed_(fixed) {}

  void program(long bytes) {
    text_ += zemuc::sjis::kBegin;
    text_ += "\n";
    if (fixed_) open_files("\t");
    for (long n = 0; written_ + text_.size() < static_cast<std::size_t>(bytes);
         ++n) {
      procedure(n);
      if (text_.size() > (1 << 20)) flush();
    }
    if (fixed_) close_files("\t");
    text_ += zemuc::sjis::kEnd;
    text_ += "\n";
    flush();
  }

 private:
  // Numeric and string variables, used in turn.
  std::string num() {
    return std::string(zemuc::sjis::kNumericMark) +
           name(next_num_++ % numerics_);
  }
  std::string str() {
    return std::string(zemuc::sjis::kStringMark) + name(next_str_++ % strings_);
  }
  static std::string name(long i) {
    return kanji(static_cast<int>(i % kKanji)) +
           kanji(static_cast<int>(i / kKanji % kKanji));
  }
  std::string label() {
    const long n = next_label_++;
    return "\"" + kanji(n % kKanji) + kanji((n + 7) % kKanji) + "\"";
  }

  void line(std::string_view indent, std::string_view text) {
    text_ += indent;
    text_ += text;
    text_ += ";\n";
  }

  void open_files(std::string_view indent) {
    line(indent,
         std::string(kOpen) + "(" + kanji(1) + kanji(2) + ",\"out.txt\",w)");
    line(indent,
         std::string(kOpen) + "(" + kanji(3) + kanji(4) + ",\"in.txt\",r)");
  }
  void close_files(std::string_view indent) {
    line(indent, std::string(kClose) + "(" + kanji(1) + kanji(2) + ")");
    line(indent, std::string(kClose) + "(" + kanji(3) + kanji(4) + ")");
  }

  void procedure(long n) {
    const std::string a = num(), b = num(), c = num(), s = str(), t = str();
    text_ += "/* procedure " + std::to_string(n) + " */\n";
    line("\t", std::string(kDisplay) + "(" + label() + ")");
    line("\t", std::string(kInput) + "(" + a + "," + b + ")");
    line("\t", c + "=" + a + "*2+" + b + "-(" + a + "/3)");
    line("\t", s + "=\"abc " + std::to_string(n) + "\"");
    line("\t", std::string(kDisplay) + "(" + label() + "," + c + "," + label() +
                   "," + s + ")");
    text_ += "\tif(" + a + ">" + b + "){\n";
    line("\t\t", c + "=" + a + "-" + b);
    text_ += "\t}\n\telse{\n";
    line("\t\t", c + "=" + b + "-" + a);
    text_ += "\t}\n";
    text_ += "\t" + std::string(kRepeat) + "(10){\n";
    text_ += "\t\t" + std::string(kRepeat) + "(" + a + "){\n";
    line("\t\t\t", c + "=" + c + "+1");
    line("\t\t\t", std::string(kDisplay) + "(" + label() + "," + c + ")");
    text_ += "\t\t}\n\t}\n";
    if (!fixed_) open_files("\t");
    line("\t", std::string(kWrite) + "(" + kanji(1) + kanji(2) + "," + c + ")");
    line("\t", std::string(kRead) + "(" + kanji(3) + kanji(4) + "," + b + ")");
    text_ += "\t" + std::string(kReadAll) + "(" + kanji(3) + kanji(4) + "," +
             t + "){\n";
    line("\t\t", std::string(kDisplay) + "(" + label() + "," + t + ")");
    text_ += "\t}\n";
    if (!fixed_) close_files("\t");
    if (n % 64 == 63) long_line();
  }

  // A display line of some two kilobytes naming many variables.
  void long_line() {
    std::string text(kDisplay);
    text += "(" + label();
    while (text.size() < 2000) text += "," + label() + "," + num();
    line("\t", text + ")");
  }

  void flush() {
    std::fwrite(text_.data(), 1, text_.size(), stdout);
    written_ += text_.size();
    text_.clear();
  }

  long numerics_, strings_;
  bool fixed_;
  long next_num_ = 0, next_str_ = 0, next_label_ = 0;
  std::string text_;
  std::size_t written_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: gen_source MEGABYTES VARIABLES [fixed]\n");
    return 2;
  }
  const long megabytes = std::atol(argv[1]);
  const long variables = std::atol(argv[2]);
  if (megabytes <= 0 || variables < 2) {
    std::fprintf(stderr, "gen_source: need MEGABYTES > 0, VARIABLES >= 2\n");
    return 2;
  }
  Generator(variables, argc == 4 && std::string_view(argv[3]) == "fixed")
      .program(megabytes * 1000 * 1000);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
