#!/usr/bin/env bash
# runtime/checks.c is C as a checked program's compiler reads it: it
# compiles alone, and with a program that uses each of its macros, with
# every warning an error; and, where clang-19 and wasi-libc are there, the
# same for wasm32-wasi, where the program also links with the checks that
# the browser's build makes (as zemucweb prepare gives them): the frame
# defines every handler they call.
# Usage: checks_c_test.sh RUNTIME_DIR USE_FILE [CC [ZEMUCWEB]]
set -euo pipefail
runtime=$1
use=$2
cc=${3:-cc}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

flags=(-std=gnu89 -Wall -Wextra -Werror -c)  # the first four also link
# Alone, nothing calls the functions its macros stand for.
"$cc" "${flags[@]}" -Wno-unused-function "$runtime/checks.c" \
  -o "$scratch/alone.o"
"$cc" "${flags[@]}" -I "$runtime" "$use" -o "$scratch/used.o"
echo "ok: runtime/checks.c compiles as C with $cc"

zemucweb=${4:+$(realpath "$4")}
if [[ -z $zemucweb ]] || ! command -v clang-19 >/dev/null ||
  [[ ! -e /usr/lib/wasm32-wasi/libc.a ]]; then
  echo "the wasm32-wasi build is not tried: clang-19, wasi-libc or zemucweb missing"
  exit 0
fi
printf 'x\n' >"$scratch/prog.zem"
mapfile -t checks < <(cd "$scratch" && "$zemucweb" prepare |
  grep -o '"-f[a-z-]*sanitize[^"]*"' | tr -d '"')
((${#checks[@]} > 0)) || { echo "FAIL: prepare gives no checks"; exit 1; }
wasm=(clang-19 --target=wasm32-wasi --sysroot=/usr)
"${wasm[@]}" "${flags[@]}" -Wno-unused-function "$runtime/checks.c" \
  -o "$scratch/alone.wasm.o"
"${wasm[@]}" "${flags[@]:0:4}" "${checks[@]}" -I "$runtime" "$use" \
  "$runtime/delkai.c" -o "$scratch/used.wasm"
echo "ok: and for wasm32-wasi with ${checks[*]}"
