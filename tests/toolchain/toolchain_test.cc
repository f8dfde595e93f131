// The compiler's kind, from what it says of itself, decides its flags.
#include "toolchain/toolchain.h"

#include <gtest/gtest.h>

#include <algorithm>

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
       Family::kGcc, 20210110},
      {"Debian clang version 14.0.6\nTarget: x86_64-pc-linux-gnu\n",
       Family::kClang, 14},
      {"Apple clang version 15.0.0 (clang-1500.0.40.1)\n", Family::kClang, 15},
      {"tcc version 0.9.27 (x86_64 Linux)\n", Family::kOther, 0},
      {"", Family::kOther, 0},
  };
  for (const auto& c : cases) {
    Toolchain t;
    identify(c.version_text, t);
    EXPECT_EQ(t.family, c.family) << c.version_text;
    if (c.family == Family::kClang) {
      EXPECT_EQ(t.major_version, c.major);
    }
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
  // gcc's columns in bytes where it counts them otherwise; its sanitizer
  // run-times linked in, so that both write where they are told.
  EXPECT_TRUE(has(compile_flags(gcc, false), "-fdiagnostics-column-unit=byte"));
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
}

}  // namespace
}  // namespace zemuc::toolchain
