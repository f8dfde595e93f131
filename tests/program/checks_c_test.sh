#!/usr/bin/env bash
# runtime/checks.c is C as a checked program's compiler reads it: it
# compiles alone, and with a program that uses each of its macros, with
# every warning an error. Usage: checks_c_test.sh RUNTIME_DIR USE_FILE [CC]
set -euo pipefail
runtime=$1
use=$2
cc=${3:-cc}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

flags=(-std=gnu89 -Wall -Wextra -Werror -c)
# Alone, nothing calls the functions its macros stand for.
"$cc" "${flags[@]}" -Wno-unused-function "$runtime/checks.c" \
  -o "$scratch/alone.o"
"$cc" "${flags[@]}" -I "$runtime" "$use" -o "$scratch/used.o"
echo "ok: runtime/checks.c compiles as C with $cc"
