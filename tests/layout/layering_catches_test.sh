#!/usr/bin/env bash
# The layering test fails on each kind of wrong tree: an include a folder
# may not make, a file directly in src/, a folder missing from its list, an
# allowance that the libraries' links do not back.
# Usage: layering_catches_test.sh LAYERING_TEST SRC_DIR
set -euo pipefail
layering=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expect_failure() {  # WHAT, then a command that spoils the copy
  local what=$1
  shift
  rm -rf "$work/src"
  cp -r "$src" "$work/src"
  "$@"
  if "$layering" "$work/src" >"$work/log" 2>&1; then
    echo "FAIL: the layering test passes with $what"
    exit 1
  fi
  grep -q FAIL "$work/log" || { echo "FAIL: no reason given for $what"; exit 1; }
}

"$layering" "$src" >/dev/null || { echo "FAIL: the tree itself does not pass"; exit 1; }
expect_failure "the check including the terminal code" \
  sed -i '1i #include "sys/process.h"' "$work/src/check/check.cc"
expect_failure "the lexer including the tables" \
  sed -i '1i #include "symbols/tables.h"' "$work/src/lexer/tokenizer.h"
expect_failure "a header directly in src/" \
  cp "$src/codegen/context.h" "$work/src/context.h"
expect_failure "a folder missing from the list" \
  bash -c 'mkdir "$1/misc" && touch "$1/misc/x.h"' - "$work/src"
expect_failure "a folder allowed a library its own does not link" \
  sed -i 's/^target_link_libraries(zemuc_check PUBLIC zemuc_core zemuc_text)/target_link_libraries(zemuc_check PUBLIC zemuc_core)/' \
  "$work/src/CMakeLists.txt"
echo "ok: each wrong tree fails"
