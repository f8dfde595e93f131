#!/usr/bin/env bash
# Every unit reads in a few screens and every function in one: no file of
# src/ over 500 lines, and, where clang-tidy is installed, no function over
# 60 (it reads the build's compile_commands.json).
# Usage: sizes_test.sh SRC_DIR BUILD_DIR
set -uo pipefail
src=$1
build=$2
status=0
while IFS= read -r file; do
  lines=$(wc -l <"$file")
  if ((lines > 500)); then
    echo "FAIL: ${file#"$src"/} has $lines lines (at most 500)"
    status=1
  fi
done < <(find "$src" -name '*.h' -o -name '*.cc')

if ! command -v clang-tidy >/dev/null 2>&1; then
  echo "SKIP: function sizes: clang-tidy is not installed"
elif [[ ! -f $build/compile_commands.json ]]; then
  echo "SKIP: function sizes: no compile_commands.json in $build"
else
  long=$(find "$src" -name '*.cc' -print0 |
    xargs -0 -P 2 -n 8 clang-tidy -p "$build" --quiet \
      --checks='-*,readability-function-size' \
      --config='{CheckOptions: [{key: readability-function-size.LineThreshold, value: 60}]}' \
      2>/dev/null | grep -E 'warning: function .* exceeds' | sort -u)
  if [[ -n $long ]]; then
    echo "FAIL: functions over 60 lines:"
    echo "$long"
    status=1
  fi
fi
((status == 0)) && echo "ok: no file over 500 lines, no function over 60"
exit "$status"
