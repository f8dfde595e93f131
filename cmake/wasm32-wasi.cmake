# Builds for WebAssembly (wasm32-wasi) with Debian's clang-19, its wasm-ld,
# wasi-libc and the libc++ built for it (scripts/ensure-tools.sh web).
# That libc++ has no exceptions, and WASI has no processes, terminals or
# signals: only what reads and writes text builds here. Signal numbers
# (explain/ names signals) need wasi-libc's emulation.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(ZEMUC_WASM ON)

set(ZEMUC_WASM_TRIPLE wasm32-wasi)
find_program(ZEMUC_WASM_CLANG clang-19 REQUIRED)
find_program(ZEMUC_WASM_CLANGXX clang++-19 REQUIRED)
find_program(ZEMUC_WASM_AR llvm-ar-19 REQUIRED)
find_program(ZEMUC_WASM_RANLIB llvm-ranlib-19 REQUIRED)
set(CMAKE_C_COMPILER ${ZEMUC_WASM_CLANG})
set(CMAKE_CXX_COMPILER ${ZEMUC_WASM_CLANGXX})
set(CMAKE_C_COMPILER_TARGET ${ZEMUC_WASM_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${ZEMUC_WASM_TRIPLE})
# GNU ar writes no symbol index that wasm-ld reads.
set(CMAKE_AR ${ZEMUC_WASM_AR})
set(CMAKE_RANLIB ${ZEMUC_WASM_RANLIB})

# wasi-libc keeps its headers in /usr/include/wasm32-wasi and its libraries
# in /usr/lib/wasm32-wasi, where clang looks under the sysroot /usr.
set(CMAKE_SYSROOT /usr)
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -D_WASI_EMULATED_SIGNAL")

# Nothing of the build machine's own libraries or programs is taken.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
