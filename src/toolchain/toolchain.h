// The C compiler and the run-time file a build needs, and the flags it is
// given: the compiler's own kind decides the words it understands.
#ifndef ZEMUC_TOOLCHAIN_H_
#define ZEMUC_TOOLCHAIN_H_

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "text/language.h"

namespace zemuc::toolchain {

// Something that stops the compile step, as the user is told it.
struct Trouble {
  Text text;
  std::vector<std::string> args;
};

enum class Family { kGcc, kClang, kOther };

// What the compiler was found to take (toolchain/abilities.h); as made,
// everything.
struct Abilities {
  std::vector<std::string> refused;  // options it does not take
  bool checks = true;  // whether a checked program builds and links
  bool takes(std::string_view option) const;
};

struct Toolchain {
  // The compiler's full path and the words of $CC after its name.
  std::vector<std::string> compiler;
  std::string runtime;  // the run-time file delkai.c
  Family family = Family::kOther;
  int major_version = 0;
  std::string version_text;  // what `--version` says
  Abilities abilities;
};

// $CC if set, else gcc, found on PATH and asked what it is and what it
// takes; the run-time
// file where an install puts it beside zemuc's own folder, or where the
// build tree keeps it. Trouble that says what to install when either is
// missing.
std::variant<Toolchain, Trouble> find_toolchain();

// The family and version `--version` tells of.
void identify(const std::string& version_text, Toolchain& toolchain);

// The flags a build of the compiler's copy takes: C89 with GNU extensions
// (main() has no return type), debug information, so that the linker names
// the source line of an undefined name, messages without carets and
// colours with byte columns, the warnings about the learner's lines and
// none about the translator's own code, a number given for a text an
// error; with `checked`, the address and undefined-behaviour sanitizers,
// which stop at the first fault. Only options the compiler takes; those
// of its family that it might not are what it is asked about (with
// `checked` and its abilities as made). The libraries come after the files.
std::vector<std::string> compile_flags(const Toolchain& toolchain,
                                       bool checked);
std::vector<std::string> link_flags();

}  // namespace zemuc::toolchain

#endif  // ZEMUC_TOOLCHAIN_H_
