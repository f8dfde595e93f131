#!/usr/bin/env bash
# Installs, through apt-get, the Debian packages that the build, the tests
# and the checks need and that this machine lacks. Does nothing when all are
# there; says what to install when it may not install them itself.
set -euo pipefail

declare -A needed=(
  [cmake]=cmake
  [ninja]=ninja-build
  [g++]=g++
  [gcc]=gcc
  [clang]=clang
  [iconv]=libc-bin
  [man]=man-db
  [/usr/bin/time]=time
  [tmux]=tmux
  [localedef]=libc-bin
  [/usr/share/i18n/charmaps/SHIFT_JIS.gz]=locales
  [setpriv]=util-linux
  [/usr/include/gtest/gtest.h]=libgtest-dev
  [/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a]=libclang-rt-14-dev
  [nvim]=neovim
  [emacs]=emacs-nox
  [/usr/share/doc/elpa-eglot]=elpa-eglot
)

missing=()
for probe in "${!needed[@]}"; do
  if [[ $probe == /* ]]; then
    [[ -e $probe ]] || missing+=("${needed[$probe]}")
  else
    command -v "$probe" >/dev/null 2>&1 || missing+=("${needed[$probe]}")
  fi
done
((${#missing[@]} == 0)) && exit 0

if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null 2>&1; then
  echo "missing tools: install them with 'apt-get install ${missing[*]}'"
  exit 1
fi
echo "installing ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
