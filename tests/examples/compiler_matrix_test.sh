#!/usr/bin/env bash
# What a learner sees from zemuc run with one C compiler: a correct program
# runs with nothing on stderr (or, where the compiler cannot build the
# checks, the one plain line that says so), a missing ; is told on its own
# line, a division by zero is told as such, on its line where the checks
# are built, a typed word too long for its text, a number too large for its
# variable, typed text that is no number (full-width digits, a word) and a
# file closed twice are told on their lines with any compiler, and a value
# used before it gets a value inside a loop is warned of on its line.
# Usage: compiler_matrix_test.sh ZEMUC COMPILER
# Exits 77 (skipped) without the compiler.
set -uo pipefail
zemuc=$(realpath "$1")
compiler=$2
if ! command -v "$compiler" >/dev/null 2>&1; then
  echo "SKIP: $compiler is not installed"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL ($compiler, $1): $2"
  sed 's/^/  | /' "$work/err"
  failed=1
}
# Runs zemuc on the source $1 with the input $2; sets status.
run() {
  printf '%b' "$1" >"$work/p.zem"
  (cd "$work" && printf '%b' "$2" | env -u LANGUAGE LC_ALL=C.UTF-8 \
    CC="$compiler" timeout 60 "$zemuc" run p.zem >"$work/out" 2>"$work/err")
  status=$?
}
unchecked='^zemuc: built with fewer run-time checks: [^:]* cannot build a checked program here'

run 'はじめ\n\t打つ(数a);\n\t数b=数a*2;\n\t見る("b",数b);\nおわり\n' '4\nx\n'
((status == 0)) || fail "a correct program" "status $status"
grep -q 'b\[8\]' "$work/out" || fail "a correct program" "it showed no b[8]"
if [[ -s $work/err ]]; then
  if [[ $(wc -l <"$work/err") -ne 1 ]] || ! grep -q "$unchecked" "$work/err" ||
    grep -qi 'error\|undefined\|warning' "$work/err"; then
    fail "a correct program" "stderr is more than one plain line"
  fi
fi

run 'はじめ\n\t打つ(数a);\n\t数b=数a*2\n\t見る("b",数b);\nおわり\n' '4\nx\n'
((status == 1)) || fail "a missing ;" "status $status"
grep -q '^p.zem:3:9: error: a ; is missing at the end of this line' \
  "$work/err" || fail "a missing ;" "not told on line 3 at its end"
grep -q '^p.zem:4' "$work/err" && fail "a missing ;" "told on line 4 too"

run 'はじめ\n\t打つ(数a);\n\t数b=10/数a;\n\t見る("b",数b);\nおわり\n' '0\nx\n'
((status != 0)) || fail "a division by zero" "status 0"
if grep -q "$unchecked" "$work/err"; then
  grep -q 'division by zero' "$work/err" ||
    fail "a division by zero" "not told as one"
else
  grep -q '^p.zem:3:7: error: division by zero' "$work/err" ||
    fail "a division by zero" "not told on line 3"
fi
run 'はじめ\n\t打つ(字s);\n\t見る("s",字s);\nおわり\n' "$(printf 'x%.0s' {1..300})\\nx\\n"
((status == 70)) || fail "a word too long for its text" "status $status"
grep -q '^p.zem:2:2: error: 字s holds at most 255 bytes of text, and a text of 300 bytes was put into it' \
  "$work/err" || fail "a word too long for its text" "not told on line 2"
run 'はじめ\n\t打つ(数a);\n\t見る("a",数a);\nおわり\n' '99999999999\nx\n'
((status == 70)) || fail "a number too large" "status $status"
grep -q '^p.zem:2:2: error: the number typed, 99999999999, is too large' \
  "$work/err" || fail "a number too large" "not told on line 2"
run 'はじめ\n\t開く(出力,"o.txt",w);\n\t閉じる(出力);\n\t閉じる(出力);\nおわり\n' ''
((status == 70)) || fail "a file closed twice" "status $status"
grep -q '^p.zem:4:2: error: 出力 is closed already: the 閉じる on line 3 closed it' \
  "$work/err" || fail "a file closed twice" "not told on line 4"
for typed in '２１' abc; do
  run 'はじめ\n\t打つ(数a);\n\t見る("a",数a);\nおわり\n' "$typed\\nx\\n"
  ((status == 70)) || fail "$typed typed for a number" "status $status"
  grep -q '^p.zem:2:2: error: what was typed is not a number: type digits 0-9 in half-width (turn the Japanese input off)$' \
    "$work/err" || fail "$typed typed for a number" "not told on line 2"
done
# A value used before it gets a value inside a loop, beside one set before
# the loop and one set inside a loop of a count typed in (which may be 0)
# and used after: the first alone is warned of, on its line, by the second
# look that gcc and clang take; a compiler without one warns of none.
run 'はじめ\n\t打つ(数n);\n\t数y=0;\n\tくり返し(3){\n\t\t数x=数x+1;\n\t\t数y=数y+1;\n\t}\n\tくり返し(数n){\n\t\t数z=数y;\n\t}\n\t見る("x",数x);\n\t見る("z",数z);\nおわり\n' '2\nx\n'
((status == 0)) || fail "a value missing in a loop" "status $status"
case ${compiler##*/} in
gcc* | clang*) warned=1 ;;
*) warned=0 ;;
esac
[[ $(grep -c ': warning: ' "$work/err") == "$warned" ]] ||
  fail "a value missing in a loop" "not $warned warning"
if ((warned == 1)); then
  grep -q '^p.zem:5:3: warning: 数x is used before it gets a value$' "$work/err" ||
    fail "a value missing in a loop" "not told of 数x on line 5"
fi
# A blank between 見る and its text: the check tells of it; the build's one
# error says that 見る is no statement, and nothing of a label or a variable.
run 'はじめ\n\t見る "こんにちは";\nおわり\n' ''
((status != 0)) || fail "a blank after 見る" "status 0"
grep -q '^p.zem:2:2: warning: blanks are removed' "$work/err" ||
  fail "a blank after 見る" "the check's warning is missing"
grep -q 'label\|variable' "$work/err" &&
  fail "a blank after 見る" "told of a label or a variable"
((failed == 0)) && echo "ok: zemuc run with $compiler"
exit $failed
