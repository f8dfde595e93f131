#!/usr/bin/env bash
# `make demo` must take its example all the way: the dialogue, the C text,
# the build and the run, ending with what the program showed and wrote.
# Usage: demo_test.sh DEMO_SCRIPT TRANSLATOR EXAMPLE.zem RUNTIME.c
# Exits 77 (skipped) without gcc, which the demo builds with.
set -uo pipefail
if ! command -v gcc >/dev/null 2>&1; then
  echo "SKIP: gcc is not installed"
  exit 77
fi

output=$("$@" 2>&1)
status=$?
echo "$output"
fail() {
  echo "FAIL: $*"
  exit 1
}
((status == 0)) || fail "the demo ended with status $status"

# Each stage in its order; the program's own lines come after its build.
expect_in_order() {
  local rest=$output part
  for part in "$@"; do
    [[ $rest == *"$part"* ]] || fail "missing or out of order: $part"
    rest=${rest#*"$part"}
  done
}
expect_in_order \
  "いま，keisan.zemをkeisan.cに書き換えとるきね．" \
  "cに書き換えたきね．" \
  'printf("%s\n", "計算します");' \
  "== gcc -std=gnu89 -finput-charset=CP932 -fexec-charset=CP932 keisan.c delkai.c" \
  "計算します" \
  "二倍[42]" \
  "行[ぶどう]" \
  "--->何か文字を入れれば終わるよ" \
  "== out.txt" \
  "42"
echo "ok: the demo translates, builds and runs its example"
