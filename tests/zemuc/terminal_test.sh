#!/usr/bin/env bash
# zemuc run on a real terminal: tmux runs it in a UTF-8 locale, send-keys
# types, capture-pane reads the screen.
# Usage: terminal_test.sh ZEMUC. Exits 77 (skipped) without tmux or gcc.
set -uo pipefail
for tool in tmux gcc; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done
zemuc=$(realpath "$1")
work=$(mktemp -d)
socket=zemuc-test-$$
trap 'tmux -L "$socket" kill-server 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*"
  echo "--- screen ---"
  screen
  exit 1
}
session=0
screen() { tmux -L "$socket" capture-pane -p -t "t$session" 2>&1; }
type_keys() { tmux -L "$socket" send-keys -t "t$session" "$@"; }
# Waits until the screen shows the text (a fixed string), for half a
# minute: the machine may be busy.
expect_screen() {
  local i
  for ((i = 0; i < 300; i++)); do
    screen | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  fail "the screen never showed: $1"
}
# Starts zemuc with ARGS in a fresh shell; the shell says the status.
start_zemuc() {
  # The new session comes first: a server left without sessions exits, and
  # a session asked of it meanwhile fails.
  ((session += 1))
  tmux -L "$socket" new-session -d -s "t$session" -x 120 -y 30 \
    "env -u LANGUAGE -u LC_MESSAGES LC_ALL=C.UTF-8 PS1='$ ' bash --norc --noprofile"
  ((session > 1)) && tmux -L "$socket" kill-session -t "t$((session - 1))"
  type_keys "clear; $*; echo \"status=\$?\"" Enter
}
start() { start_zemuc "'$zemuc'" run "$1"; }

# A prompt without a line end shows before the program waits, and typed
# Japanese reaches a string variable; the typed line echoes once.
cat >greet.zem <<'ZEM'
はじめ
	printf("名前>");
	打つ(字s);
	見る("こんにちは",字s);
おわり
ZEM
start greet.zem
expect_screen "名前>"
screen | grep -q 'こんにちは' && fail "the program ran ahead of its input"
type_keys "山田ソ" Enter
expect_screen "こんにちは[山田ソ]"
[[ $(screen | grep -c '山田ソ') == 2 ]] || fail "the typed line should echo once"
expect_screen "--->何か文字を入れれば終わるよ"
type_keys "end" Enter
expect_screen "status=0"

# A program that reads a file and writes one: the files stay Shift-JIS.
printf '%s\n' 'りんご' 'ソース' | iconv -f UTF-8 -t CP932 >in.txt
cat >copy.zem <<'ZEM'
はじめ
	開く(入力,"in.txt",r);
	開く(出力,"out.txt",w);
	読みきり(入力,字行){
		見る("行",字行);
		書く(出力,字行);
	}
	閉じる(入力);
	閉じる(出力);
おわり
ZEM
start copy.zem
expect_screen "行[りんご]"
expect_screen "行[ソース]"
type_keys "end" Enter
expect_screen "status=0"
cmp -s in.txt out.txt || fail "out.txt is not the Shift-JIS lines of in.txt"

# The generated error exit: a missing input file.
cat >missing.zem <<'ZEM'
はじめ
	開く(入力,"nai.txt",r);
	見る("読めた");
おわり
ZEM
start missing.zem
expect_screen "ファイルnai.txtがないよ．--->何か文字を入れれば終わるよ"
screen | grep -q '読めた' && fail "the program went on past its error exit"
type_keys "end" Enter
expect_screen "status=0"

# Ctrl-D ends the program's input: every read after it meets the end.
cat >count.zem <<'ZEM'
はじめ
	見る("数は");
	打つ(数a);
	見る("おしまい");
おわり
ZEM
start count.zem
expect_screen "数は"
type_keys C-d
expect_screen "おしまい"
expect_screen "status=0"

# After Ctrl-D, a program that clears the end of its input and reads
# again gets the next line typed.
cat >again.zem <<'ZEM'
はじめ
	見る("一つ目");
	打つ(字s);
	clearerr(stdin);
	見る("二つ目");
	打つ(字t);
	見る("読んだ",字t);
おわり
ZEM
start again.zem
expect_screen "一つ目"
type_keys C-d
expect_screen "二つ目"
type_keys "abc" Enter
expect_screen "読んだ[abc]"
type_keys "end" Enter
expect_screen "status=0"

# Ctrl-C ends the program, as it would a program run directly.
start count.zem
expect_screen "数は"
type_keys C-c
expect_screen "status=130"
screen | grep -q 'おしまい' && fail "the program went on after Ctrl-C"
screen | grep -q 'zemuc:' && fail "Ctrl-C, which the user asked for, brought a message"

# A check that stops the program after a prompt without a line end: what
# it printed stays, and the message starts on a line of its own.
cat >zero.zem <<'ZEM'
はじめ
	数z=0;
	printf("答え=");
	数a=1/数z;
おわり
ZEM
start zero.zem
expect_screen "status=70"
screen | grep -qx '答え=' || fail "the text before the fault is not on a line of its own"
screen | grep -q '^zero.zem:4:[0-9]*: error: division by zero: 数z is 0$' ||
  fail "the fault is not told on the learner's line"

# Ctrl-C during a build ends it and leaves no scratch file behind.
printf '#!/bin/sh\nsleep 30\nexec gcc "$@"\n' >slow-cc
chmod +x slow-cc
# zemuc ends by the signal itself, so the shell drops the rest of the
# command line, as it does for any interrupted program; $? says how.
start_zemuc "CC='$work/slow-cc'" "'$zemuc'" build count.zem
sleep 0.5
type_keys C-c
type_keys 'echo "after=$?"' Enter
expect_screen "after=130"
leftover=$(ls -A | grep -v -x -e '.*\.c' -e '.*\.zem' -e '.*\.report\.txt' -e in.txt -e out.txt -e slow-cc)
[[ -z $leftover ]] || fail "an interrupted build left: $leftover"

echo "ok: zemuc run on a terminal shows, echoes, reads and ends as it should"
