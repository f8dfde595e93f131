#!/usr/bin/env bash
# zemucweb's commands, built for wasm32-wasi and run under Node's WASI,
# tell what zemuc run tells for the same source. Each source is taken the
# way the playground takes it: prepare, then clang-19 for wasm32-wasi with
# prepare's own compile arguments (Debian's wasi-libc as the sysroot),
# explain-build on what clang said, the program run under Node's WASI with
# prepare's environment, and explain-run on how it ended; the messages
# (shown, problems) and the status must be those of `zemuc run` built with
# clang on this machine, and what the program printed the same. Then the
# editor's commands (analyze, hover, complete) and the traps.
# Configures and builds the wasm preset's zemucweb into WASM_BUILD_DIR.
# Skipped (77) where clang-19's WebAssembly pieces, clang or node are
# missing.
# Usage: commands_test.sh PROJECT_DIR WASM_BUILD_DIR ZEMUC
set -euo pipefail
project=$1 wasm_build=$2 zemuc=$(realpath "$3")

skip() { echo "skipped: $1 missing (scripts/ensure-tools.sh web)"; exit 77; }
for tool in clang-19 clang++-19 wasm-ld-19 llvm-ar-19 node iconv clang; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool"
done
for file in /usr/include/wasm32-wasi/stdio.h /usr/lib/wasm32-wasi/libc.a \
  /usr/lib/llvm-19/lib/wasm32-wasi/libc++.a \
  /usr/lib/llvm-19/lib/clang/19/lib/wasi/libclang_rt.builtins-wasm32.a; do
  [[ -e $file ]] || skip "$file"
done
node -e 'require("node:wasi")' 2>/dev/null || skip "node:wasi"

if [[ ! -f $wasm_build/build.ninja ]]; then
  (cd "$project" && cmake --preset wasm -B "$wasm_build" >/dev/null) ||
    { echo "FAIL: the wasm preset does not configure"; exit 1; }
fi
cmake --build "$wasm_build" --target zemucweb >/dev/null ||
  { echo "FAIL: zemucweb does not build for wasm32-wasi"; exit 1; }
wasm=$wasm_build/zemucweb.wasm
runner=$project/tests/web/run_wasi.mjs
echo "zemucweb.wasm: $(stat -c %s "$wasm") bytes"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
web() { node "$runner" "$wasm" "$@"; }
# jget FILE EXPRESSION: the expression of the JSON value j in FILE, a
# string as it is, anything else as JSON; arrays of strings a line each.
jget() {
  node -e '
    const j = JSON.parse(require("fs").readFileSync(process.argv[1], "utf8"));
    const v = eval(process.argv[2]);
    if (Array.isArray(v) && v.every((x) => typeof x === "string")) {
      for (const x of v) console.log(x);
    } else process.stdout.write(typeof v === "string" ? v : JSON.stringify(v));
  ' "$1" "$2"
}
status=0
fail() { echo "FAIL: $*"; status=1; }

long=$(head -c 300 /dev/zero | tr '\0' a)
# NAME | SOURCE (printf's format, UTF-8) | KEYBOARD INPUT | LANGUAGE |
# ENCODING of the file | the start of a message line that must be told
# (none: no message at all).
cases=(
  "rejected|はじめ\n\t数a=1;\n\t見る();\nおわり\n|x\n|en|utf8|prog.zem:3: 次の行おかしい: 見る();"
  "no_shift_jis|はじめ\n\t見る(\"café\");\nおわり\n|x\n|en|utf8|prog.zem:2:9: error: 'é' (U+00E9) has no Shift-JIS form; write it another way"
  "finding_then_runs|はじめ\n\t見る \"x\";\n\t見る(\"ok\");\nおわり\n|x\n|en|utf8|prog.zem:2:2: warning: blanks are removed"
  "semicolon_missing|はじめ\n\t数a=1\n\t見る(\"a\",数a);\nおわり\n|x\n|en|utf8|prog.zem:2:6: error: a ; is missing"
  "unknown_function|はじめ\n\t数a=1;\n\tmiru(数a);\nおわり\n|x\n|en|utf8|prog.zem:3:2: error: there is no statement or function named miru"
  "division_by_zero|はじめ\n\t打つ(数a,数b);\n\t数c=数a/数b;\n\t見る(\"答え\",数c);\nおわり\n|7\n0\nx\n|en|utf8|prog.zem:3:7: error: division by zero: 数b is 0"
  "division_by_zero_ja|はじめ\n\t打つ(数a,数b);\n\t数c=数a/数b;\n\t見る(\"答え\",数c);\nおわり\n|7\n0\nx\n|ja|utf8|prog.zem:3:7: error: 0 で割り算をしました: 数b が 0 です"
  "division_sjis_file|はじめ\n\t打つ(数a,数b);\n\t見る(\"表示\",数a);\n\t数c=数a%%数b;\nおわり\n|7\n0\nx\n|en|sjis|prog.zem:4:"
  "typed_too_large|はじめ\n\t打つ(数a);\n\t見る(\"a\",数a);\nおわり\n|99999999999\nx\n|en|utf8|prog.zem:2:2: error: the number typed, 99999999999, is too large"
  "result_too_large|はじめ\n\t打つ(数a);\n\t数b=数a*2;\n\t見る(\"b\",数b);\nおわり\n|2000000000\nx\n|en|utf8|prog.zem:3:7: error: the result of 2000000000 * 2 is too large"
  "fraction_too_large|はじめ\n\t数a=pow(10.0,20.0);\n\t見る(\"a\",数a);\nおわり\n|x\n|en|utf8|prog.zem:2:5: error: the result 1e+20 is too large"
  "shift_too_far|はじめ\n\t打つ(数a);\n\t数b=1<<数a;\n\t見る(\"b\",数b);\nおわり\n|40\nx\n|en|utf8|prog.zem:3:6: error: a shift by 40 bits"
  "negation|はじめ\n\t打つ(数a);\n\t数b=-数a;\n\t見る(\"b\",数b);\nおわり\n|-2147483648\nx\n|en|utf8|prog.zem:3:5: error: the result of -(-2147483648) is too large"
  "index_outside|はじめ\n\t打つ(数a);\n\t(字s)[(数a)]=65;\n\t見る(\"s\",字s);\nおわり\n|300\nx\n|en|utf8|prog.zem:3:2: error: 字s has bytes 0 to 255, and this uses byte 300"
  "typed_text_too_long|はじめ\n\t見る(\"名前\");\n\t打つ(字s);\n\t見る(\"s\",字s);\nおわり\n|$long\nx\n|en|utf8|prog.zem:3:2: error: 字s holds at most 255 bytes of text, and a text of 300 bytes was put into it"
  "literal_too_long|はじめ\n\t字s=\"$long\";\n\t見る(\"s\",字s);\nおわり\n|x\n|en|utf8|prog.zem:2:2: warning: 字s holds at most 255 bytes of text, and this puts a text of 300 bytes into it"
  "last_word_too_long|はじめ\n\t見る(\"x\");\nおわり\n|$long\n|en|utf8|prog.zem:"
  "file_not_open|はじめ\n\t数a=1;\n\t開く(出力,\"nai/out.txt\",w);\n\t書く(出力,数a);\n\t閉じる(出力);\nおわり\n|x\n|en|utf8|prog.zem:4:2: error: 出力 is not open: its 開く on line 3 could not open the file"
  "file_missing|はじめ\n\t開く(入力,\"nai.txt\",r);\n\t読む(入力,数a);\nおわり\n|x\n|en|utf8|"
  "ends_well|はじめ\n\tくり返し(3){\n\t\t見る(\"回\");\n\t}\nおわり\n|x\n|en|utf8|"
)

# The browser's way with the source in DIR: prepare, build, run, explain.
# Writes DIR/shown, DIR/problems, DIR/status and DIR/out (UTF-8).
browser() {  # DIR LANGUAGE INPUT
  local dir=$1 lang=$2 input=$3 step_status
  (
    cd "$dir"
    cp "$project/runtime/delkai.c" .
    web prepare "--lang=$lang" >prepare.json
    jget prepare.json j.shown >shown
    jget prepare.json j.problems >problems
    jget prepare.json j.status >status
    : >out
    [[ $(jget prepare.json j.ok) == true ]] || exit 0
    mapfile -t compile < <(jget prepare.json j.compile)
    step_status=0
    clang-19 --sysroot=/usr "${compile[@]}" 2>zemuc-build.txt || step_status=$?
    failed=()
    ((step_status == 0)) || failed=(--failed)
    web explain-build "--lang=$lang" "${failed[@]}" <zemuc-build.txt >build.json
    jget build.json j.shown >>shown
    jget build.json j.problems >>problems
    if ((step_status != 0)); then
      jget build.json j.status >status
      exit 0
    fi
    mapfile -t env < <(jget prepare.json 'Object.entries(j.env).map(([k, v]) => `--env=${k}=${v}`)')
    step_status=0
    printf '%b' "$input" | node "$runner" "${env[@]}" zemuc-program.wasm \
      >out.sjis 2>program.err || step_status=$?
    iconv -f CP932 -t UTF-8 out.sjis >out
    trap_words=$(sed -n 's/^trap: //p' program.err)
    run_args=("--status=$step_status")
    [[ -z $trap_words ]] || run_args+=("--trap=$trap_words")
    web explain-run "--lang=$lang" "${run_args[@]}" >run.json
    jget run.json j.shown >>shown
    jget run.json j.problems >>problems
    jget run.json j.status >status
  )
}

compared=0
for row in "${cases[@]}"; do
  IFS='|' read -r name source input lang encoding first <<<"$row"
  dir=$work/$name
  mkdir -p "$dir/native" "$dir/web"
  printf "$source" >"$dir/source.zem"
  if [[ $encoding == sjis ]]; then
    iconv -f UTF-8 -t CP932 "$dir/source.zem" >"$dir/native/prog.zem"
  else
    cp "$dir/source.zem" "$dir/native/prog.zem"
  fi
  cp "$dir/native/prog.zem" "$dir/web/prog.zem"
  locale_settings=(LC_ALL=C.UTF-8)
  [[ $lang == ja ]] && locale_settings=(LC_ALL= LC_MESSAGES= LANG=ja_JP.UTF-8)
  native_status=0
  (cd "$dir/native" && printf '%b' "$input" |
    env "${locale_settings[@]}" CC=clang "$zemuc" run prog.zem >out 2>err) ||
    native_status=$?
  # zemuc names the compiler it found by its path; the browser's is clang.
  sed -i "s#($(command -v clang) ended#(clang ended#" "$dir/native/err"
  browser "$dir/web" "$lang" "$input"
  compared=$((compared + 1))
  web_status=$(<"$dir/web/status")
  [[ $web_status == "$native_status" ]] ||
    fail "$name: status $web_status in the browser, $native_status from zemuc run"
  # zemuc starts its words on a line of their own after a program's
  # output that did not end its line, which the page's terminal does.
  sed -i '/^$/d' "$dir/native/err"
  cmp -s "$dir/web/shown" "$dir/native/err" ||
    { fail "$name: the messages differ:"; diff "$dir/native/err" "$dir/web/shown" | head -10 || true; }
  grep -E '^(prog\.zem:|zemuc:)' "$dir/native/err" >"$dir/native/problems" || true
  cmp -s "$dir/web/problems" "$dir/native/problems" ||
    { fail "$name: the message lines differ:"; diff "$dir/native/problems" "$dir/web/problems" | head -6 || true; }
  cmp -s "$dir/web/out" "$dir/native/out" ||
    { fail "$name: what the program printed differs:"; diff "$dir/native/out" "$dir/web/out" | head -6 || true; }
  if [[ -n $first ]]; then
    grep -qF -- "$first" "$dir/web/problems" ||
      fail "$name: no message reads '$first...': $(cat "$dir/web/problems")"
  else
    [[ ! -s $dir/web/problems ]] || fail "$name: messages where none are due"
  fi
done

# A WebAssembly trap is told as the signal that would end the native
# program, with zemuc run's status for it.
traps=(
  "RuntimeError: divide by zero|136"
  "integer overflow|136"
  "memory access out of bounds|139"
  "Maximum call stack size exceeded|139"
  "unreachable|134"
  "something new|134"
)
dir=$work/division_by_zero/web
for row in "${traps[@]}"; do
  IFS='|' read -r words expected <<<"$row"
  rm -f "$dir/zemuc-report.txt"
  (cd "$dir" && web explain-run --status=200 "--trap=$words" >trap.json)
  got=$(jget "$dir/trap.json" j.status)
  first=$(jget "$dir/trap.json" 'j.problems[0]')
  [[ $got == "$expected" && $first == zemuc:* ]] ||
    fail "trap '$words': status $got, '$first'"
done
# The next prepare takes away what the checks of the last run wrote, so
# that it is not told of the next.
echo 'fault' | tee "$dir/zemuc-opens.txt" >"$dir/zemuc-report.txt"
(cd "$dir" && web prepare >/dev/null)
[[ ! -e $dir/zemuc-report.txt && ! -e $dir/zemuc-opens.txt ]] ||
  fail "prepare leaves the last run's reports"
# A program that ended by itself is told nothing, with its own status.
(cd "$dir" && web explain-run --status=3 >ended.json)
[[ $(jget "$dir/ended.json" j.status) == 3 && $(jget "$dir/ended.json" 'j.problems.length') == 0 ]] ||
  fail "a program ending with status 3: $(cat "$dir/ended.json")"

# The editor's commands on a source with a finding and a compiler error.
dir=$work/semicolon_missing/web
rm "$dir/prog.c"
(cd "$dir" && web analyze --build-output=zemuc-build.txt --failed >analyze.json &&
  web explain-build --failed <zemuc-build.txt >build.json &&
  web hover --line=1 --character=1 >hover.json &&
  web complete --line=2 --character=1 >complete.json &&
  web hover --line=40 --character=0 >nowhere.json)
[[ $(jget "$dir/analyze.json" 'JSON.stringify(j.diagnostics.filter((d) => d.code === "compiler").map(({code, ...d}) => d))') == \
  "$(jget "$dir/build.json" 'JSON.stringify(j.findings)')" ]] ||
  fail "analyze's compiler diagnostics are not explain-build's findings"
[[ $(jget "$dir/analyze.json" 'j.cFile') == prog.c && -s $dir/prog.c ]] ||
  fail "analyze writes no prog.c: $(jget "$dir/analyze.json" 'j.cFile')"
[[ $(jget "$dir/analyze.json" 'j.cLines.length') == 4 ]] ||
  fail "cLines: $(jget "$dir/analyze.json" 'j.cLines')"
# cLines are offsets of the C text as the page decodes it.
c_line=$(node -e '
  const fs = require("fs");
  const j = JSON.parse(fs.readFileSync(process.argv[1], "utf8"));
  const c = new TextDecoder("shift_jis").decode(fs.readFileSync(process.argv[2]));
  process.stdout.write(c.slice(...j.cLines[2]));
' "$dir/analyze.json" "$dir/prog.c")
[[ $c_line == *'printf("%s[%d]\n", "a", nn1);'* ]] || fail "line 3's C text: '$c_line'"
[[ $(jget "$dir/hover.json" 'j.value') == *nn1* ]] || fail "hover: $(cat "$dir/hover.json")"
[[ $(cat "$dir/nowhere.json") == null ]] || fail "hover off the lines: $(cat "$dir/nowhere.json")"
[[ $(jget "$dir/complete.json" 'j.filter((i) => i.label === "見る" && i.snippet).length') == 1 ]] ||
  fail "complete: $(head -c 300 "$dir/complete.json")"

# Hostile sources and files: every command answers with one JSON value
# and status 0, whatever the source, the compiler's words or the report.
hostile=$work/hostile
mkdir "$hostile"
head -c 3000 /dev/urandom >"$hostile/garbage"
sources=(
  ": >prog.zem"
  "LC_ALL=C awk 'BEGIN { for (i = 0; i < 4096; i++) printf \"%c\", (i * 37 + 11) % 256 }' >prog.zem"
  "{ printf 'はじめ\\n\\t見る(\"'; head -c 200000 /dev/zero | tr '\\0' a; printf '\");\\nおわり\\n'; } >prog.zem"
  "printf 'はじめ\\n\\t見る(\"a\\0b\");\\n\\t数a=1\\nおわり\\n' >prog.zem"
  "printf '\\xef\\xbb\\xbfはじめ\\n\\t見る(\"é\");\\r\\nおわり' >prog.zem"
)
commands=(
  "prepare" "analyze" "analyze --build-output=garbage --failed"
  "hover --line=0 --character=0" "hover --line=1 --character=99999"
  "complete --line=1 --character=3" "explain-run --status=70"
  "explain-run --status=0 --trap=unreachable" "explain-build --failed"
)
for source in "${sources[@]}"; do
  (cd "$hostile" && eval "$source")
  for command in "${commands[@]}"; do
    cp "$hostile/garbage" "$hostile/zemuc-report.txt"
    answered=0
    # shellcheck disable=SC2086
    (cd "$hostile" && web $command <garbage >answer.json 2>answer.err) ||
      answered=$?
    ((answered == 0)) &&
      node -e 'JSON.parse(require("fs").readFileSync(process.argv[1], "utf8"))' \
        "$hostile/answer.json" 2>/dev/null ||
      fail "'$command' on '$source': status $answered, $(head -c 200 "$hostile/answer.err")"
  done
done

# A wrong command line: status 2, a word on standard error, no answer.
for args in "explain-run" "hover --line=1" "prepare --lang=fr" "prepare --name=x"; do
  wrong=0
  # shellcheck disable=SC2086
  (cd "$work" && web $args >wrong.out 2>wrong.err) || wrong=$?
  [[ $wrong == 2 && ! -s $work/wrong.out && -s $work/wrong.err ]] ||
    fail "'$args': status $wrong"
done

# An exercise's case judged and the results told, in WebAssembly too.
"$project/tests/web/judge_test.sh" node "$runner" "$wasm" ||
  fail "judge and results under Node's WASI"

((status == 0)) && echo "ok: $compared sources told as zemuc run tells them; traps, the editor's commands, exercises judged and wrong command lines"
exit "$status"
