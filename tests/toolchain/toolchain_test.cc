// The compiler's kind, from what it says of itself, decides its flags.
#include "toolchain/toolchain.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "support/run.h"
#include "sys/signals.h"
#include "toolchain/abilities.h"

namespace zemuc::toolchain {
namespace {

bool has(const std::vector<std::string>& flags, std::string_view flag) {
  return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

TEST(Toolchain, KindAndVersionFromWhatTheCompilerSays) {
  const struct {
    const char* version_text;
    Family family;
    int major;
  } cases[] = {
      {"gcc (Debian 12.2.0-14) 12.2.0\nCopyright (C) 2022 Free Software "
       "Foundation, Inc.\n",
       Family::kGcc, 12},
      {"cc (GCC) 10.2.1 20210110\nCopyright (C) 2020 Free Software "
       "Foundation, Inc.\n",
       Family::kGcc, 10},
      // Debian 11's and Ubuntu's: a date, or the maker's words, around it.
      {"gcc (Debian 10.2.1-6) 10.2.1 20210110\nFree Software Foundation\n",
       Family::kGcc, 10},
      {"gcc (Ubuntu 11.4.0-1ubuntu1~22.04) 11.4.0\nFree Software "
       "Foundation\n",
       Family::kGcc, 11},
      {"gcc (Ubuntu 9.4.0-1ubuntu1~20.04.2) 9.4.0\nFree Software "
       "Foundation\n",
       Family::kGcc, 9},
      {"x86_64-linux-gnu-gcc-14 (Debian 14.2.0-19) 14.2.0\nFree Software "
       "Foundation\n",
       Family::kGcc, 14},
      {"Ubuntu clang version 14.0.0-1ubuntu1.1\n", Family::kClang, 14},
      {"Debian clang version 19.1.7 (3~deb12u1)\n", Family::kClang, 19},
      {"Apple clang version 15.0.0 (clang-1500.1.0.48.1)\n", Family::kClang,
       15},
      {"Debian clang version 14.0.6\nTarget: x86_64-pc-linux-gnu\n",
       Family::kClang, 14},
      {"Apple clang version 15.0.0 (clang-1500.0.40.1)\n", Family::kClang, 15},
      {"tcc version 0.9.27 (x86_64 Linux)\n", Family::kOther, 0},
      {"gcc (GCC) 12.2.0\n", Family::kOther, 0},  // no maker's line
      {"", Family::kOther, 0},
  };
  for (const auto& c : cases) {
    Toolchain t;
    identify(c.version_text, t);
    EXPECT_EQ(t.family, c.family) << c.version_text;
    EXPECT_EQ(t.major_version, c.major) << c.version_text;
  }
}

TEST(Toolchain, FlagsForEachKind) {
  Toolchain gcc;
  identify("gcc (Debian 12.2.0-14) 12.2.0\nFree Software Foundation\n", gcc);
  Toolchain old_gcc;
  identify("gcc (GCC) 9.4.0\nFree Software Foundation\n", old_gcc);
  Toolchain clang;
  identify("clang version 14.0.6\n", clang);
  Toolchain other;
  for (const Toolchain* t : {&gcc, &old_gcc, &clang, &other}) {
    for (const bool checked : {false, true}) {
      const std::vector<std::string> flags = compile_flags(*t, checked);
      // Never a charset: the copy needs none.
      for (const std::string& flag : flags) {
        EXPECT_EQ(flag.find("charset"), std::string::npos) << flag;
      }
      EXPECT_TRUE(has(flags, "-std=gnu89"));
      EXPECT_TRUE(has(flags, "-g"));
      EXPECT_EQ(has(flags, "-fsanitize=address,undefined"), checked);
    }
  }
  // gcc's columns in bytes where it counts them otherwise, whatever its
  // version line says: one that counts bytes refuses the option when asked
  // (as gcc 9 and 10 do); its sanitizer run-times linked in, so that both
  // write where they are told.
  EXPECT_TRUE(has(compile_flags(gcc, false), "-fdiagnostics-column-unit=byte"));
  EXPECT_TRUE(
      has(compile_flags(old_gcc, false), "-fdiagnostics-column-unit=byte"));
  old_gcc.abilities.refused = {"-fdiagnostics-column-unit=byte"};
  EXPECT_FALSE(
      has(compile_flags(old_gcc, false), "-fdiagnostics-column-unit=byte"));
  EXPECT_TRUE(has(compile_flags(gcc, true), "-static-libubsan"));
  // gcc's undefined leaves out an int from a fraction too large for it.
  EXPECT_TRUE(has(compile_flags(gcc, true), "-fsanitize=float-cast-overflow"));
  EXPECT_FALSE(
      has(compile_flags(gcc, false), "-fsanitize=float-cast-overflow"));
  EXPECT_FALSE(has(compile_flags(clang, true), "-static-libubsan"));
  EXPECT_TRUE(has(compile_flags(clang, false), "-fno-caret-diagnostics"));
  EXPECT_FALSE(has(compile_flags(other, false), "-Wall"));
  // An option the compiler refused is never given; a gcc 10 is never given
  // the column unit that came with gcc 11, which it refuses when asked.
  Toolchain gcc10;
  identify(
      "gcc (Debian 10.2.1-6) 10.2.1 20210110\nFree Software "
      "Foundation\n",
      gcc10);
  gcc10.abilities.refused = {"-fdiagnostics-column-unit=byte"};
  EXPECT_FALSE(
      has(compile_flags(gcc10, false), "-fdiagnostics-column-unit=byte"));
  gcc.abilities.refused = {"-static-libubsan", "-fextended-identifiers"};
  EXPECT_FALSE(has(compile_flags(gcc, true), "-static-libubsan"));
  EXPECT_FALSE(has(compile_flags(gcc, true), "-fextended-identifiers"));
  EXPECT_TRUE(has(compile_flags(gcc, true), "-static-libasan"));
}

// The answers remembered are read back for the same compiler and version
// only, and a text cut short is no answer.
TEST(Toolchain, AbilitiesRememberedPerCompilerAndVersion) {
  Toolchain gcc;
  gcc.compiler = {"/usr/bin/gcc", "-m64"};
  identify("gcc (Debian 12.2.0-14) 12.2.0\nFree Software Foundation\n", gcc);
  Toolchain other_version = gcc;
  identify("gcc (Debian 11.3.0-12) 11.3.0\nFree Software Foundation\n",
           other_version);
  other_version.version_text = "gcc (Debian 11.3.0-12) 11.3.0\n";
  Toolchain other_path = gcc;
  other_path.compiler = {"/usr/bin/gcc"};
  const Abilities cases[] = {
      {},
      {{"-fdiagnostics-column-unit=byte"}, true},
      {{"-fsanitize=address,undefined", "-fno-sanitize-recover=all"}, false},
  };
  for (const Abilities& abilities : cases) {
    const std::string text = abilities_text(gcc, abilities);
    const std::optional<Abilities> back = abilities_from(gcc, text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(back->refused, abilities.refused);
    EXPECT_EQ(back->checks, abilities.checks);
    EXPECT_FALSE(abilities_from(other_version, text).has_value());
    EXPECT_FALSE(abilities_from(other_path, text).has_value());
    EXPECT_FALSE(
        abilities_from(gcc, text.substr(0, text.size() - 1)).has_value());
    EXPECT_FALSE(abilities_from(gcc, "").has_value());
  }
  // Answers to other questions (a cache that never asked of the column
  // unit) are asked again.
  EXPECT_FALSE(abilities_from(gcc, "compiler /usr/bin/gcc -m64\n" +
                                       gcc.version_text + "\n.\nchecks yes\n")
                   .has_value());
}

// What a stand-in compiler, a shell script, answers every question with,
// with the ending signals held back as zemuc holds them, and whether that
// is remembered in the cache.
struct Asked {
  Abilities abilities;
  bool remembered;
};
Asked ask_script(const testing::ScratchDir& dir, const std::string& name,
                 const std::string& body) {
  const std::filesystem::path cache = dir.path() / ("cache-" + name);
  std::filesystem::permissions(dir.write(name, "#!/bin/sh\n" + body + "\n"),
                               std::filesystem::perms::owner_all);
  Toolchain toolchain;
  toolchain.compiler = {(dir.path() / name).string()};
  toolchain.version_text = "cc 1.0\n";
  const char* saved = std::getenv("XDG_CACHE_HOME");
  const std::string was = saved != nullptr ? saved : "";
  setenv("XDG_CACHE_HOME", cache.c_str(), 1);
  Asked asked;
  {
    const HeldSignals held;
    asked.abilities = learn_abilities(toolchain);
    // A signal the script sent is taken here, not left to end the test.
    std::optional<SignalFd> pending = SignalFd::open(ending_signals());
    while (pending && pending->take() != 0) {
    }
  }
  setenv("XDG_CACHE_HOME", was.c_str(), 1);
  std::error_code error;
  asked.remembered =
      !std::filesystem::is_empty(cache / "zemuc", error) && !error;
  return asked;
}

// Only an answer is remembered: a compiler that did not end by itself
// (killed, or zemuc interrupted by Ctrl-C while it was asked) said no "no",
// and is taken to take everything, as the build then tells what fails; a
// "no" remembered is asked again once the compiler is another file.
TEST(Toolchain, AbilitiesRememberedOnlyWhenAnswered) {
  testing::ScratchDir dir;
  const std::string me = std::to_string(::getpid());
  const struct {
    const char* name;
    std::string body;
    bool remembered;
    bool checks;
  } cases[] = {
      {"refuses", "exit 1", true, false},
      {"killed", "kill -KILL $$", false, true},
      {"interrupted", "kill -INT " + me + "; sleep 5", false, true},
  };
  for (const auto& c : cases) {
    const Asked asked = ask_script(dir, c.name, c.body);
    EXPECT_EQ(asked.remembered, c.remembered) << c.name;
    EXPECT_EQ(asked.abilities.checks, c.checks) << c.name;
    EXPECT_EQ(asked.abilities.refused.empty(), c.checks) << c.name;
  }
  // The compiler that refused, replaced by one that takes everything.
  const Asked again = ask_script(dir, "refuses", "exit 0 # updated");
  EXPECT_TRUE(again.abilities.checks);
  EXPECT_TRUE(again.abilities.refused.empty());
}

}  // namespace
}  // namespace zemuc::toolchain
