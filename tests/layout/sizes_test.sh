#!/usr/bin/env bash
# Every unit reads in a few screens and every function in one: no file of
# src/ over 500 lines, and, where clang-tidy is installed, no function over
# 60.
# Usage: sizes_test.sh SRC_DIR
set -uo pipefail
src=$1
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
else
  # The build compiles each library as a few large units, and names only
  # those in its compile_commands.json: clang-tidy reads every unit by
  # itself from a configuration of its own, without that.
  commands=$(mktemp -d)
  trap 'rm -rf "$commands"' EXIT
  if ! cmake -S "$src/.." -B "$commands" -G Ninja -DZEMUC_UNITY=OFF \
    -DZEMUC_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >"$commands/log" 2>&1; then
    cat "$commands/log"
    echo "FAIL: function sizes: the source does not configure"
    exit 1
  fi
  # checked_frame.cc is made by the build; the units include no header
  # it makes.
  said=$(find "$src" -name '*.cc' -print0 |
    xargs -0 -P 2 -n 8 clang-tidy -p "$commands" --quiet \
      --checks='-*,readability-function-size' \
      --config='{CheckOptions: [{key: readability-function-size.LineThreshold, value: 60}]}' \
      2>&1)
  # A unit it could not read would count no function at all.
  if grep -q 'Error while processing' <<<"$said"; then
    grep -B5 'Error while processing' <<<"$said" | head -20
    echo "FAIL: function sizes: clang-tidy could not read every unit"
    status=1
  fi
  long=$(grep -E 'warning: function .* exceeds' <<<"$said" | sort -u)
  if [[ -n $long ]]; then
    echo "FAIL: functions over 60 lines:"
    echo "$long"
    status=1
  fi
fi
((status == 0)) && echo "ok: no file over 500 lines, no function over 60"
exit "$status"
