// The tables that convert code page 932 where the C library cannot
// (WebAssembly) convert every code and every character as this machine's
// iconv does, which they were made from.
#include "text/cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

#include "text/encoding.h"

namespace zemuc {
namespace {

// iconv's conversion of the whole of `text`, or nothing where it stops.
std::optional<std::string> by_iconv(iconv_t cd, std::string_view text) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  char out[16];
  char* at = out;
  std::size_t out_left = sizeof out;
  if (iconv(cd, &in, &in_left, &at, &out_left) == static_cast<std::size_t>(-1))
    return std::nullopt;
  return std::string(out, at - out);
}

template <typename Convert>
std::optional<std::string> by_table(Convert convert, std::string_view text) {
  std::string out;
  return convert(text, out) == cp932::Stop::kDone ? std::optional(out)
                                                  : std::nullopt;
}

class Cp932Tables : public ::testing::Test {
 protected:
  void SetUp() override {
    to_utf8_ = iconv_open("UTF-8", "CP932");
    from_utf8_ = iconv_open("CP932", "UTF-8");
    if (to_utf8_ == kNone || from_utf8_ == kNone) {
      GTEST_SKIP() << "iconv has no CP932 here";
    }
  }
  void TearDown() override {
    if (to_utf8_ != kNone) iconv_close(to_utf8_);
    if (from_utf8_ != kNone) iconv_close(from_utf8_);
  }
  const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
  iconv_t to_utf8_ = kNone;
  iconv_t from_utf8_ = kNone;
};

TEST_F(Cp932Tables, EveryCodeReadsAsIconvReadsIt) {
  int differ = 0;
  for (int first = 0; first < 256; ++first) {
    for (int second = -1; second < 256; ++second) {
      std::string code(1, static_cast<char>(first));
      if (second >= 0) code += static_cast<char>(second);
      const auto expected = by_iconv(to_utf8_, code);
      const auto got =
          by_table([](std::string_view in,
                      std::string& out) { return cp932::to_utf8(in, out); },
                   code);
      if (expected != got && ++differ <= 5) {
        ADD_FAILURE() << "code " << std::hex << first << " " << second
                      << ": table " << got.value_or("(none)") << ", iconv "
                      << expected.value_or("(none)");
      }
    }
  }
  EXPECT_EQ(differ, 0);
}

TEST_F(Cp932Tables, EveryCharacterIsWrittenAsIconvWritesIt) {
  int differ = 0;
  for (char32_t c = 0; c < 0x110000; c += c < 0x10000 ? 1 : 0x1001) {
    std::string utf8;
    append_utf8(utf8, c);
    const auto expected = by_iconv(from_utf8_, utf8);
    const auto got =
        by_table([](std::string_view in,
                    std::string& out) { return cp932::from_utf8(in, out); },
                 utf8);
    if (expected != got && ++differ <= 5) {
      ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
    }
  }
  EXPECT_EQ(differ, 0);
}

// How a run stops, with what is left: a character cut short at the end
// waits for the rest, a bad one stops the run where it stands.
TEST(Cp932Stops, WhereIconvWould) {
  struct Row {
    std::string_view text;
    bool from_sjis;
    cp932::Stop stop;
    std::size_t left;
  };
  const Row rows[] = {
      {"a\x82", true, cp932::Stop::kIncomplete, 1},
      {"a\x82\x0A", true, cp932::Stop::kBad, 2},
      {"\x80x", true, cp932::Stop::kBad, 2},
      {"ab\xE3\x81", false, cp932::Stop::kIncomplete, 2},
      {"a\xC0\x80", false, cp932::Stop::kBad, 2},          // overlong
      {"\xED\xA0\x80", false, cp932::Stop::kBad, 3},       // a surrogate
      {"\xF0\x9F\x98\x80z", false, cp932::Stop::kBad, 5},  // no form
      {"\xE3\x81\x82\xC2\xA5", false, cp932::Stop::kDone, 0},
  };
  for (const Row& row : rows) {
    std::string_view in = row.text;
    std::string out;
    const cp932::Stop stop =
        row.from_sjis ? cp932::to_utf8(in, out) : cp932::from_utf8(in, out);
    EXPECT_EQ(stop, row.stop) << row.text;
    EXPECT_EQ(in.size(), row.left) << row.text;
  }
}

}  // namespace
}  // namespace zemuc
