// What a C compiler takes, learned by asking it: each option that not
// every compiler takes, tried once on an empty file, and whether a checked
// program builds and links. The answers are remembered per compiler and
// version in the user's cache, which a build reads first; a cache that
// cannot be read or written only costs the asking again. Only answers are
// remembered, never a question interrupted or unanswered, and only for the
// compiler's file as it was when asked.
#ifndef ZEMUC_TOOLCHAIN_ABILITIES_H_
#define ZEMUC_TOOLCHAIN_ABILITIES_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/toolchain.h"

namespace zemuc::toolchain {

// The toolchain's compiler asked, or its answers from the cache.
Abilities learn_abilities(const Toolchain& toolchain);

// The cache's text for the answers of a compiler and version, and the
// answers read back from it: nothing when the text is of another compiler,
// compiler file or version, or not whole.
std::string abilities_text(const Toolchain& toolchain,
                           const Abilities& abilities);
std::optional<Abilities> abilities_from(const Toolchain& toolchain,
                                        std::string_view text);

}  // namespace zemuc::toolchain

#endif  // ZEMUC_TOOLCHAIN_ABILITIES_H_
