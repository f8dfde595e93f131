#include "symbols/name_index.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "support/sjis.h"

namespace zemuc::testing {
namespace {

// Names kept as a table keeps them: position i holds names[i - 1].
struct Names {
  std::vector<std::string> list;
  NameIndex index;

  std::string_view at(std::size_t i) const { return list[i - 1]; }
  void add(const std::string& name) {
    list.push_back(name);
    index.add(list.back(), list.size(),
              [this](std::size_t i) { return at(i); });
  }
  std::size_t find(std::string_view name) const {
    return index.find(name, [this](std::size_t i) { return at(i); });
  }
  std::size_t probes(std::string_view name) const {
    return index.probes(name, [this](std::size_t i) { return at(i); });
  }
};

// 数v00000, 数v00001, ...: a mark, a letter and five digits, as programs
// number their variables.
std::vector<std::string> numbered(std::string_view letter, int first,
                                  int count) {
  const std::string stem = sjis("数") + std::string(letter);
  std::vector<std::string> names;
  for (int i = first; i < first + count; ++i) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%05d", i);
    names.push_back(stem + digits);
  }
  return names;
}

// Names that share a 40-byte prefix and differ in their last two bytes.
std::vector<std::string> shared_prefix(int count) {
  const std::string prefix = sjis("字") + std::string(38, 'p');
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    names.push_back(prefix + static_cast<char>('a' + i / 26) +
                    static_cast<char>('a' + i % 26));
  }
  return names;
}

// Every three-letter name over eight letters, then names of each length
// 0..40 of one letter: the shortest and the longest tails of the hash.
std::vector<std::string> same_length_and_every_length() {
  std::vector<std::string> names;
  for (char a = 'a'; a < 'i'; ++a) {
    for (char b = 'a'; b < 'i'; ++b) {
      for (char c = 'a'; c < 'i'; ++c) names.push_back({a, b, c});
    }
  }
  for (int n = 0; n <= 40; ++n) {
    if (n != 3) names.push_back(std::string(n, 'x'));
  }
  names.push_back(std::string("a\0b", 3));  // a NUL is a byte like others
  names.push_back(std::string("a\0c", 3));
  return names;
}

struct Probes {
  double mean = 0;
  std::size_t max = 0;
};

Probes probe_lengths(const Names& names, const std::vector<std::string>& keys) {
  Probes p;
  for (const std::string& key : keys) {
    const std::size_t n = names.probes(key);
    p.mean += static_cast<double>(n) / static_cast<double>(keys.size());
    if (n > p.max) p.max = n;
  }
  return p;
}

// The standard library's string hash is this same function with this seed;
// comparing with it shows the hash is the published one, every tail length.
#if defined(__GLIBCXX__)
TEST(Murmur64a, IsTheLibraryStringHash) {
  std::string bytes;
  for (int i = 0; i < 40; ++i)
    bytes.push_back(static_cast<char>(i * 37 + 0x90));
  for (std::size_t n = 0; n <= bytes.size(); ++n) {
    const std::string_view key(bytes.data(), n);
    EXPECT_EQ(murmur64a(key, NameIndex::kSeed),
              std::hash<std::string_view>()(key))
        << n << " bytes";
  }
}
#endif

class Sets : public ::testing::TestWithParam<std::vector<std::string>> {};

// Every name is found at its own position, after all the growing, and the
// first entry of a name wins.
TEST_P(Sets, FindsEachNameAtItsPosition) {
  Names names;
  for (const std::string& name : GetParam()) names.add(name);
  names.add(GetParam().front());  // a second entry of the first name
  for (std::size_t i = 0; i < GetParam().size(); ++i) {
    ASSERT_EQ(names.find(GetParam()[i]), i + 1) << utf8(GetParam()[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(Names, Sets,
                         ::testing::Values(numbered("v", 0, 100000),
                                           shared_prefix(600),
                                           same_length_and_every_length()));

TEST(NameIndex, NamesNotAddedAreNotFound) {
  Names names;
  EXPECT_EQ(names.find("x"), 0u);  // an empty index
  for (const std::string& name : numbered("v", 0, 1000)) names.add(name);
  for (const std::string& name : numbered("v", 1000, 1000)) {
    ASSERT_EQ(names.find(name), 0u) << utf8(name);
  }
  for (const std::string& name : numbered("w", 0, 1000)) {
    ASSERT_EQ(names.find(name), 0u) << utf8(name);
  }
  // Prefixes and extensions of a name are other names.
  const std::string name = numbered("v", 5, 1)[0];
  EXPECT_EQ(names.find(name.substr(0, name.size() - 1)), 0u);
  EXPECT_EQ(names.find(name + "0"), 0u);
  EXPECT_EQ(names.find(""), 0u);
}

// Names that differ only in their last digits spread over the table: with a
// good hash, linear probing at this load takes about 1.3 slots to find a
// name and 1.8 to miss one; long runs of neighbouring slots would show here
// as a mean of several slots.
TEST(NameIndex, ProbesStayShortOnNumberedNames) {
  Names names;
  for (const std::string& name : numbered("v", 0, 100000)) names.add(name);
  const Probes found = probe_lengths(names, names.list);
  EXPECT_LT(found.mean, 1.6);
  EXPECT_LE(found.max, 40u);
  const Probes missed = probe_lengths(names, numbered("w", 0, 100000));
  EXPECT_LT(missed.mean, 2.5);
  EXPECT_LE(missed.max, 60u);
}

TEST(NameIndex, ProbesStayShortOnSharedPrefixes) {
  Names names;
  for (const std::string& name : shared_prefix(676)) names.add(name);
  const Probes found = probe_lengths(names, names.list);
  EXPECT_LT(found.mean, 1.8);
  EXPECT_LE(found.max, 20u);
}

}  // namespace
}  // namespace zemuc::testing
