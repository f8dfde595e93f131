#!/usr/bin/env bash
# `make demo` must take its example all the way: the source, zemuc run on
# it, what the program showed and wrote, and the C file.
# Usage: demo_test.sh DEMO_SCRIPT ZEMUC EXAMPLE.zem
# Exits 77 (skipped) without gcc, which zemuc builds with.
set -uo pipefail
if ! command -v gcc >/dev/null 2>&1; then
  echo "SKIP: gcc is not installed"
  exit 77
fi

output=$(env -u LANGUAGE LC_ALL=C.UTF-8 "$@" 2>&1)
status=$?
echo "$output"
fail() {
  echo "FAIL: $*"
  exit 1
}
((status == 0)) || fail "the demo ended with status $status"

# Each stage in its order.
expect_in_order() {
  local rest=$output part
  for part in "$@"; do
    [[ $rest == *"$part"* ]] || fail "missing or out of order: $part"
    rest=${rest#*"$part"}
  done
}
expect_in_order \
  "== keisan.zem, as written in UTF-8" \
  '見る("計算します");' \
  "== zemuc run keisan.zem" \
  "計算します" \
  "二倍[42]" \
  "行[ぶどう]" \
  "--->何か文字を入れれば終わるよ" \
  "== the program ended with status 0" \
  "== out.txt" \
  "42" \
  "== keisan.c" \
  'printf("%s\n", "計算します");'
echo "ok: the demo runs its example through zemuc"
