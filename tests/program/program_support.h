// Programs for the compile step's tests, written in readable UTF-8.
#ifndef ZEMUC_TESTS_COMPILER_COMPILER_SUPPORT_H_
#define ZEMUC_TESTS_COMPILER_COMPILER_SUPPORT_H_

#include <filesystem>
#include <string>
#include <string_view>

#include "driver/memory_translation.h"
#include "program/program.h"
#include "support/sjis.h"

namespace zemuc::testing {

// The program a UTF-8 source translates into, as the compile step sees it.
inline Program program_of(std::string_view utf8_source,
                          const std::string& name = "p.zem") {
  const std::string source = sjis(utf8_source);
  return Program(name, source, translate_in_memory(name, source));
}

// The run-time file as the build tree keeps it beside zemuc.
inline std::string runtime_file() {
  return (std::filesystem::path(ZEMUC_PATH).parent_path() /
          "share/zemucfilter/delkai.c")
      .string();
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_COMPILER_COMPILER_SUPPORT_H_
