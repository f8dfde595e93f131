#include "program/compile_flags.h"

#include <span>

namespace zemuc {

std::vector<std::string> browser_compile_arguments() {
  std::vector<std::string> args = {"--target=wasm32-wasi"};
  for (const auto& flags :
       {std::span<const std::string_view>(kLanguageFlags),
        std::span<const std::string_view>(kClangMessageFlags),
        std::span<const std::string_view>(kWarningFlags),
        std::span<const std::string_view>(kBrowserCheckFlags)}) {
    args.insert(args.end(), flags.begin(), flags.end());
  }
  args.insert(args.end(),
              {std::string(kBrowserCopy), std::string(kBrowserRuntime), "-o",
               std::string(kBrowserProgram)});
  args.insert(args.end(), std::begin(kLinkFlags), std::end(kLinkFlags));
  return args;
}

}  // namespace zemuc
