#!/usr/bin/env bash
# zemuc test of a right and a wrong program against an exercise folder, as
# a learner runs it; zemuc exercise for its teacher. Every wait is bounded
# by timeout.
# Usage: exercise_test.sh ZEMUC
set -uo pipefail
zemuc=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset LANGUAGE LC_MESSAGES LC_ALL CC
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
cd "$work"

# Twice the number typed; one case reads a file and writes one.
mkdir -p ex/tests/1.files ex/tests/2.expect ex/hidden
printf 'title = "二倍"\n' >ex/exercise.toml
printf '二倍を見せる\n' >ex/task.md
cat >ex/answer.zem <<'PROGRAM'
はじめ
	見る("数を入れてね");
	打つ(数x);
	数y=数x*2;
	見る("答え",数y);
	開く(記録,"out.txt",w);
	書く(記録,数y);
	閉じる(記録);
おわり
PROGRAM
printf '3\n' >ex/tests/1.in
printf 'ignored\n' >ex/tests/1.files/note.txt
printf '0\n' >ex/tests/2.in
printf '0\n' >ex/tests/2.expect/out.txt
printf '21\n' >ex/hidden/1.in

# The teacher writes the missing outputs, and the folder checks.
timeout 120 "$zemuc" exercise outputs ex >out 2>err ||
  fail "exercise outputs: $(cat err)"
[[ $(cat ex/tests/1.out) == $'数を入れてね\n答え[6]' ]] ||
  fail "exercise outputs wrote: $(cat ex/tests/1.out)"
[[ -f ex/hidden/1.out ]] || fail "exercise outputs wrote no hidden output"
timeout 120 "$zemuc" exercise check ex >out 2>err || fail "exercise check: $(cat err)"
# A hidden case the model answer fails is shown whole, named as hidden.
cp -r ex broken && printf '43\n' >broken/hidden/1.out
LANG=C.UTF-8 timeout 120 "$zemuc" exercise check broken >out 2>err &&
  fail "exercise check passed a wrong hidden output"
grep -qF '× hidden 3  wrong output' err && grep -qF '43' err ||
  fail "a hidden case the answer fails was told as: $(cat err)"

cp ex/answer.zem right.zem
sed 's/数x\*2/数x+数x+1/' ex/answer.zem >wrong.zem
# A division by zero on its fourth line.
sed 's/数y=数x\*2;/数z=0;\n\t数y=数x\/数z;/' ex/answer.zem >div.zem

# LANG|PROGRAM|STATUS|SAID (a part of standard output)
rows=(
  "C.UTF-8|right.zem|0|○ 1 (sample)"
  "C.UTF-8|right.zem|0|3 of 3 cases passed (3 / 3 points)"
  "ja_JP.UTF-8|right.zem|0|○ 隠し 3"
  "ja_JP.UTF-8|wrong.zem|1|× 1 (例)  出力が違います"
  "ja_JP.UTF-8|wrong.zem|1|    正しい出力:   答え[6]"
  "ja_JP.UTF-8|wrong.zem|1|    あなたの出力: 答え[7]"
  "ja_JP.UTF-8|wrong.zem|1|× 隠し 3  出力が違います"
  "C.UTF-8|wrong.zem|1|× hidden 3  wrong output"
  # A fault is told as zemuc run tells it, on the learner's line.
  "C.UTF-8|div.zem|1|× 1 (sample)  stopped by a check"
  "C.UTF-8|div.zem|1|  div.zem:5:7: error: division by zero: 数z is 0"
  "C.UTF-8|div.zem|1|× hidden 3  stopped by a check"
)
for row in "${rows[@]}"; do
  IFS='|' read -r lang program want said <<<"$row"
  status=0
  LANG=$lang timeout 120 "$zemuc" test "$program" ex >out 2>err || status=$?
  ((status == want)) || fail "$program ($lang): status $status, not $want: $(cat err)"
  grep -qF -- "$said" out || fail "$program ($lang) did not say '$said': $(cat out)"
done
# The hidden case's input and output stay hidden.
LANG=C.UTF-8 timeout 120 "$zemuc" test wrong.zem ex >out 2>err
grep -q '42\|43\|21' out && fail "a hidden case was shown: $(cat out)"

# The same as JSON, which tools read.
LANG=C.UTF-8 timeout 120 "$zemuc" test --json wrong.zem ex >out 2>err
grep -q '"all_passed": false' out || fail "--json: $(cat out)"
grep -q '"result": "wrong_output"' out || fail "--json results: $(cat out)"

# A program that does not build is told once, and no case runs.
printf 'はじめ\n\t見る(数a);\nおわり\n' >bad.zem
status=0
LANG=C.UTF-8 timeout 120 "$zemuc" test bad.zem ex >out 2>err || status=$?
((status == 1)) || fail "a program that does not build: status $status"
(($(grep -c "bad.zem does not build" err) == 1)) || fail "the build told not once: $(cat err)"
[[ ! -s out ]] || fail "cases told of a program that does not build: $(cat out)"

# A wrong setting is told at its line.
printf 'title = "x"\ncompar = "lines"\n' >ex/exercise.toml
status=0
LANG=C.UTF-8 timeout 60 "$zemuc" test right.zem ex >out 2>err || status=$?
((status == 2)) || fail "a wrong setting: status $status"
grep -qF "ex/exercise.toml:2:1: error: unknown key 'compar'" err ||
  fail "a wrong setting said: $(cat err)"

((failures == 0)) && echo "ok: zemuc test and zemuc exercise"
exit $((failures > 0))
