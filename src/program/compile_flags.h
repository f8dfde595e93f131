// The C compiler's flags that every build of the compiler's copy shares,
// zemuc's on this machine (toolchain/) and the browser's, and the whole
// command line of the browser's build, which has one compiler: clang for
// WebAssembly (wasm32-wasi), whose undefined-behaviour checks the copy's
// frame answers itself (runtime/checks.c), WebAssembly having no
// sanitizer run-times.
#ifndef ZEMUC_PROGRAM_COMPILE_FLAGS_H_
#define ZEMUC_PROGRAM_COMPILE_FLAGS_H_

#include <string>
#include <string_view>
#include <vector>

namespace zemuc {

// C89 with GNU extensions (main() has no return type), and debug
// information, so that the linker names the source line of an undefined
// name.
inline constexpr std::string_view kLanguageFlags[] = {"-std=gnu89", "-g"};
// clang's messages without carets and colours, as the messages are read.
inline constexpr std::string_view kClangMessageFlags[] = {
    "-fno-caret-diagnostics", "-fno-color-diagnostics"};
// The warnings about the learner's lines and none about the translator's
// own code; a number given for a text is an error.
inline constexpr std::string_view kWarningFlags[] = {
    "-Wall",
    "-Wno-implicit-int",
    "-Wno-implicit-function-declaration",
    "-Wno-unused-variable",
    "-Wno-unused-but-set-variable",
    "-Wno-unused-label",
    "-Werror=int-conversion"};
// The libraries after the files: math.h is included by every program, and
// its functions are in libm.
inline constexpr std::string_view kLinkFlags[] = {"-lm"};

// The browser's file area: the copy, the run-time file beside it, the
// program built, and the files its checks write, named to it in its
// environment.
inline constexpr std::string_view kBrowserCopy = "zemuc-copy.c";
inline constexpr std::string_view kBrowserRuntime = "delkai.c";
inline constexpr std::string_view kBrowserProgram = "zemuc-program.wasm";
inline constexpr std::string_view kBrowserReport = "zemuc-report.txt";
inline constexpr std::string_view kBrowserOpenNotes = "zemuc-opens.txt";
// The compiler's standard error of the browser's build, kept for the
// faults of the run.
inline constexpr std::string_view kBrowserBuildOutput = "zemuc-build.txt";
// The compiler the browser's messages name.
inline constexpr std::string_view kBrowserCompiler = "clang";

// The checks the browser's build makes: those of the undefined-behaviour
// sanitizer whose handlers runtime/checks.c defines for WebAssembly, each
// stopping the program.
inline constexpr std::string_view kBrowserCheckFlags[] = {
    "-fsanitize=signed-integer-overflow,integer-divide-by-zero,"
    "float-cast-overflow,shift,array-bounds",
    "-fno-sanitize-recover=all",
    // A value used before it gets a value inside a loop, which a native
    // build sees by a second look (toolchain/build.cc): told only where
    // the use is inside the loop (explain/wording.cc).
    "-Wconditional-uninitialized"};

// clang's arguments for the browser's build of the checked copy with the
// run-time file into kBrowserProgram.
std::vector<std::string> browser_compile_arguments();

}  // namespace zemuc

#endif  // ZEMUC_PROGRAM_COMPILE_FLAGS_H_
