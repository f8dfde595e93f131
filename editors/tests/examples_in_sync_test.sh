#!/usr/bin/env bash
# Each UTF-8 copy in grammar/examples holds, apart from its first line and
# its assertion lines, exactly the example it copies converted from
# Shift-JIS, and every example has its copy.
#   examples_in_sync_test.sh EXAMPLES_DIR
set -euo pipefail
examples=$1
copies=$(cd "$(dirname "${BASH_SOURCE[0]}")/grammar/examples" && pwd)
if ! command -v iconv >/dev/null 2>&1; then
  echo "iconv is missing: install libc-bin"
  exit 77
fi

failed=0
checked=0
shopt -s nullglob
for example in "$examples"/*/*.zem; do
  name=$(basename "$example" .zem)
  copy=$copies/$name.zem.txt
  checked=$((checked + 1))
  if [[ ! -f $copy ]]; then
    echo "FAILED: $example has no copy $copy"
    failed=$((failed + 1))
    continue
  fi
  # The lines vscode-tmgrammar-test reads as assertions.
  if ! diff -u --label "$example" --label "$copy" \
      <(iconv -f CP932 -t UTF-8 "$example") \
      <(tail -n +2 "$copy" | grep -Ev '^//[[:space:]]*(\^|<~*-)'); then
    echo "FAILED: $copy differs from $example"
    failed=$((failed + 1))
  fi
done
for copy in "$copies"/*.zem.txt; do
  name=$(basename "$copy" .zem.txt)
  if [[ ! -f $examples/$name/$name.zem ]]; then
    echo "FAILED: $copy copies no example"
    failed=$((failed + 1))
  fi
done
if ((checked == 0)); then
  echo "no examples in $examples"
  exit 1
fi
echo "$((checked - failed)) passed, $failed failed"
((failed == 0))
