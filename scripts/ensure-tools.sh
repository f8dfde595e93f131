#!/usr/bin/env bash
# Installs, through apt-get, the Debian packages that the project needs and
# that this machine lacks; does nothing when all are there. Run as root
# where apt-get is, it installs them; anywhere else it says what to install
# and fails.
#   scripts/ensure-tools.sh build   what building zemuc and its demo needs
#   scripts/ensure-tools.sh web     what building the translator for
#                                   WebAssembly (wasm32-wasi) needs
#   scripts/ensure-tools.sh browser what the playground's page tests and its
#                                   benchmark drive: chromium, and node
#   scripts/ensure-tools.sh [test]  that, and what every test and check uses
set -euo pipefail
profile=${1:-test}

# Probe (a command, or a file when it starts with /) and its package.
declare -A build=(
  [cmake]=cmake
  [ninja]=ninja-build
  [g++]=g++
  [gcc]=gcc
  [iconv]=libc-bin
  [/usr/include/gtest/gtest.h]=libgtest-dev
  [/usr/include/fmt/format.h]=libfmt-dev
  [/usr/include/nlohmann/json.hpp]=nlohmann-json3-dev
)
declare -A test=(
  [clang]=clang
  # The compiler matrix: Ubuntu 22.04's gcc, the newest clang with its
  # sanitizers' run-time, and tcc, which has none.
  [gcc-11]=gcc-11
  [clang-19]=clang-19
  [/usr/lib/llvm-19/lib/clang/19/lib/linux/libclang_rt.asan-x86_64.a]=libclang-rt-19-dev
  [tcc]=tcc
  [clang-format]=clang-format
  [clang-tidy]=clang-tidy
  [man]=man-db
  [/usr/bin/time]=time
  [tmux]=tmux
  [localedef]=libc-bin
  [/usr/share/i18n/charmaps/SHIFT_JIS.gz]=locales
  [setpriv]=util-linux
  [/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a]=libclang-rt-14-dev
  [nvim]=neovim
  [/usr/bin/vim.basic]=vim  # the vim with syntax; vim-tiny has none
  [emacs]=emacs-nox
  [/usr/share/doc/elpa-eglot]=elpa-eglot
)

# clang-19 with its linker, the C library and the C++ library for
# wasm32-wasi; node to run the result in the tests and, with npm, to build
# the playground's site.
declare -A web=(
  [node]=nodejs
  [npm]=npm
  [cmake]=cmake
  [ninja]=ninja-build
  [clang-19]=clang-19
  [wasm-ld-19]=lld-19
  [/usr/include/wasm32-wasi/stdio.h]=wasi-libc
  [/usr/lib/llvm-19/lib/wasm32-wasi/libc++.a]=libc++-19-dev-wasm32
  [/usr/lib/llvm-19/lib/wasm32-wasi/libc++abi.a]=libc++abi-19-dev-wasm32
  [/usr/lib/llvm-19/lib/clang/19/lib/wasi/libclang_rt.builtins-wasm32.a]=libclang-rt-19-dev-wasm32
)

# Debian's chromium, driven headless by puppeteer-core (web/package-lock.json,
# npm ci --prefix web), which downloads no browser of its own.
declare -A browser=(
  [chromium]=chromium
  [node]=nodejs
  [npm]=npm
)

missing=()
check() {  # the name of an array of probes
  local -n probes=$1
  local probe
  for probe in "${!probes[@]}"; do
    if [[ $probe == /* ]]; then
      [[ -e $probe ]] || missing+=("${probes[$probe]}")
    else
      command -v "$probe" >/dev/null 2>&1 || missing+=("${probes[$probe]}")
    fi
  done
}
case $profile in
  build) check build ;;
  web) check web ;;
  browser) check browser ;;
  test) check build; check test; check web; check browser ;;
  *) echo "usage: scripts/ensure-tools.sh [build|web|browser|test]" >&2; exit 2 ;;
esac
((${#missing[@]} == 0)) && exit 0
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)

if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null 2>&1; then
  echo "missing tools: install them with 'apt-get install ${missing[*]}'" >&2
  exit 1
fi
echo "installing ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
