#!/usr/bin/env bash
# zemucweb built for wasm32-wasi and run under Node's WASI writes, for every
# example and for hostile sources, the C text that the native zemucfilter
# writes for the same source, byte for byte, with the same status; its
# console text is what zemucfilter prints ahead of its closing text; a
# source it cannot read and an output it cannot write fail.
# Configures and builds the wasm preset's zemucweb into WASM_BUILD_DIR.
# Skipped (77) where clang-19's WebAssembly pieces or node are missing.
# Usage: wasm_same_c_test.sh PROJECT_DIR WASM_BUILD_DIR ZEMUCFILTER
set -euo pipefail
project=$1 wasm_build=$2 zemucfilter=$3

skip() { echo "skipped: $1 missing (scripts/ensure-tools.sh web)"; exit 77; }
for tool in clang-19 clang++-19 wasm-ld-19 llvm-ar-19 node iconv; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool"
done
for file in /usr/include/wasm32-wasi/stdio.h \
  /usr/lib/llvm-19/lib/wasm32-wasi/libc++.a \
  /usr/lib/llvm-19/lib/wasm32-wasi/libc++abi.a \
  /usr/lib/llvm-19/lib/clang/19/lib/wasi/libclang_rt.builtins-wasm32.a; do
  [[ -e $file ]] || skip "$file"
done
node -e 'require("node:wasi")' 2>/dev/null || skip "node:wasi"

started=$SECONDS
# A change of the toolchain file reaches a configured tree only afresh.
if [[ ! -f $wasm_build/build.ninja ||
  $project/cmake/wasm32-wasi.cmake -nt $wasm_build/CMakeCache.txt ]]; then
  (cd "$project" && cmake --preset wasm --fresh -B "$wasm_build" >/dev/null) ||
    { echo "FAIL: the wasm preset does not configure"; exit 1; }
fi
cmake --build "$wasm_build" --target zemucweb >/dev/null ||
  { echo "FAIL: zemucweb does not build for wasm32-wasi"; exit 1; }
wasm=$wasm_build/zemucweb.wasm
[[ -f $wasm ]] || { echo "FAIL: no $wasm"; exit 1; }
echo "zemucweb.wasm: $(stat -c %s "$wasm") bytes, built in $((SECONDS - started)) s"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
web() {
  node "$project/tests/web/run_wasi.mjs" "$wasm" "$@"
}
sjis() { iconv -f UTF-8 -t CP932; }

# The hostile sources, Shift-JIS where they are text.
hostile=$work/hostile
mkdir "$hostile"
: >"$hostile/empty.zem"
keisan=$project/examples/keisan/keisan.zem
head -c -1 "$keisan" >"$hostile/no_last_line_end.zem"
sed 's/$/\r/' "$keisan" >"$hostile/crlf.zem"
{ head -c 40 "$keisan"; printf '\0\0x\0'; tail -c +41 "$keisan"; } >"$hostile/nul.zem"
{ cat "$keisan"; printf '\x82'; } >"$hostile/cut_double_byte.zem"
{ printf 'はじめ\n\t見る("' | sjis; printf '\x81'; printf '");\nおわり\n' | sjis; } \
  >"$hostile/lead_byte_before_quote.zem"
printf 'はじめ\n\t見る("閉じない);\nおわり\n' | sjis >"$hostile/open_quote.zem"
printf 'はじめ\n\tくり返し(3){\n\t\t見る("x");\nおわり\n' | sjis >"$hostile/open_brace.zem"
printf 'はじめ\n\t数a=1;\n' | sjis >"$hostile/no_end.zem"
printf 'はじめ\n\t謎の文(数a);\n\t見る(数a);\nおわり\n' | sjis >"$hostile/unknown.zem"
# Display lines without a text: rejected, with what came before them kept.
printf 'はじめ\n\t数a=1;\n\t見る();\n\t見る("後");\nおわり\n' | sjis >"$hostile/rejected.zem"
printf '見る( );' | sjis >"$hostile/rejected_first_and_last.zem"
{ cat "$keisan"; printf 'はじめ\n\t見る();\nおわり\n' | sjis; } >"$hostile/rejected_late.zem"
{ printf 'はじめ\n\t見る("' | sjis; head -c 200000 /dev/zero | tr '\0' 'a'
  printf '");\nおわり\n' | sjis; } >"$hostile/long_line.zem"
LC_ALL=C awk 'BEGIN { for (i = 0; i < 4096; i++) printf "%c", (i * 37 + 11) % 256 }' \
>>"$hostile/all_bytes.zem"
{ echo 'はじめ'
  for ((i = 1; i <= 3000; i++)); do printf '\t数v%d=%d;\n\t字s%d="%d";\n' "$i" "$i" "$i" "$i"; done
  echo 'おわり'; } | sjis >"$hostile/many_names.zem"
{ echo 'はじめ'
  for ((i = 0; i < 300; i++)); do echo 'くり返し(2){'; done
  echo '見る("深い");'
  for ((i = 0; i < 300; i++)); do echo '}'; done
  echo 'おわり'; } | sjis >"$hostile/deep.zem"
for ((i = 0; i < 300; i++)); do cat "$project"/examples/*/*.zem; done \
  >"$hostile/large.zem"

status=0
compared=0
statuses=()
for source in "$project"/examples/*/*.zem "$hostile"/*.zem; do
  name=${source#"$project"/}
  name=${name#"$work"/}
  run=$work/run
  rm -rf "$run" && mkdir "$run"
  cp "$source" "$run/prog.zem"
  native_status=0
  (cd "$run" && printf '\n' | "$zemucfilter" prog.zem >native.out 2>native.err) ||
    native_status=$?
  [[ -f $run/prog.c ]] || : >"$run/prog.c"
  web_status=0
  web prog.zem <"$source" >"$run/web.c" 2>"$run/web.err" || web_status=$?
  compared=$((compared + 1))
  statuses+=("$native_status")
  if [[ $web_status != "$native_status" ]]; then
    echo "FAIL: $name: status $web_status under WASI, $native_status native"
    head -c 300 "$run/web.err"
    status=1
  fi
  if ! cmp -s "$run/prog.c" "$run/web.c"; then
    echo "FAIL: $name: the C text differs ($(stat -c %s "$run/web.c") bytes under WASI, $(stat -c %s "$run/prog.c") native):"
    cmp "$run/prog.c" "$run/web.c" | head -1 || true
    status=1
  fi
  # The console text: what zemucfilter prints between its opening line
  # and its closing text.
  opening=$(head -n 1 "$run/native.out" | wc -c)
  if [[ ! -s $run/web.err ]] ||
    ! tail -c +$((opening + 1)) "$run/native.out" |
      cmp -s -n "$(stat -c %s "$run/web.err")" "$run/web.err" -; then
    echo "FAIL: $name: the console text is not zemucfilter's"
    status=1
  fi
done
# The sources must reach both outcomes, or the comparison proves less.
[[ " ${statuses[*]} " == *" 0 "* && " ${statuses[*]} " == *" 8 "* ]] ||
  { echo "FAIL: statuses seen: ${statuses[*]}; want both 0 and 8"; status=1; }

# Streams that fail: a source that cannot be read, output that cannot be
# written, and a wrong command line.
stream_status=0
web prog.zem </ >"$work/dir.c" 2>"$work/dir.err" || stream_status=$?
if [[ $stream_status != 74 || $(<"$work/dir.err") != *"cannot read the source"* ]]; then
  echo "FAIL: a directory as source: status $stream_status: $(<"$work/dir.err")"
  status=1
fi
if [[ -w /dev/full ]]; then
  stream_status=0
  web prog.zem <"$keisan" >/dev/full 2>"$work/full.err" || stream_status=$?
  if [[ $stream_status != 74 || $(<"$work/full.err") != *"cannot write the C text"* ]]; then
    echo "FAIL: a full output: status $stream_status: $(<"$work/full.err")"
    status=1
  fi
fi
stream_status=0
web a.zem b.zem <"$keisan" >"$work/usage.c" 2>"$work/usage.err" || stream_status=$?
[[ $stream_status == 2 && ! -s $work/usage.c && -s $work/usage.err ]] ||
  { echo "FAIL: two names: status $stream_status"; status=1; }

((status == 0)) && echo "ok: $compared sources give zemucfilter's C text and status under WASI; failing streams fail"
exit "$status"
