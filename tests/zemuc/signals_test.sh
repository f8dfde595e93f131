#!/usr/bin/env bash
# zemuc under the signal settings, signals, closed descriptors, gone
# readers and limits that launchers and users give it: nothing reported as
# success that failed, nothing left behind, nothing that waits forever
# (every wait here is bounded by timeout).
# Usage: signals_test.sh ZEMUC
set -uo pipefail
zemuc=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
unset LANGUAGE LC_MESSAGES CC
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
cd "$work"

# With SIGCHLD ignored, as some launchers leave it, the system reaps every
# child at once: a build that fails must still fail, and leave no program.
printf 'はじめ\n\t見る(数a);\nおわり\n' >bad.zem
printf 'はじめ\n\t見る("yes");\nおわり\n' >ok.zem
status=0
bash -c "trap '' CHLD; exec '$zemuc' build bad.zem" >out 2>err || status=$?
((status == 1)) || fail "build with SIGCHLD ignored: status $status"
grep -q "bad.zem does not build" err || fail "build with SIGCHLD ignored said: $(cat err)"
[[ ! -e bad ]] || fail "build with SIGCHLD ignored left a program"
status=0
bash -c "trap '' CHLD; exec '$zemuc' run ok.zem" <<<"x" >out 2>err || status=$?
((status == 0)) || fail "run with SIGCHLD ignored: status $status: $(cat err)"
[[ $(cat out) == "yes"* ]] || fail "run with SIGCHLD ignored showed: $(cat out)"

# A program that closes its terminal and goes on: SIGTERM to zemuc still
# reaches it, and zemuc's scratch folder is gone.
mkdir tmp
cat >closes.zem <<'PROGRAM'
はじめ
	開く(出力,"started",w);
	閉じる(出力);
	fclose(stdin);
	fclose(stdout);
	fclose(stderr);
	sleep(20);
おわり
PROGRAM
TMPDIR=$work/tmp "$zemuc" run closes.zem </dev/null >out 2>err &
pid=$!
for _ in $(seq 100); do
  [[ -e started ]] && break
  sleep 0.1
done
[[ -e started ]] || fail "the program that closes its terminal never started: $(cat err)"
sleep 0.3
start=$SECONDS
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
((status == 143)) || fail "SIGTERM: status $status"
((SECONDS - start < 10)) || fail "SIGTERM did not reach the program"
leftover=$(ls -A tmp)
[[ -z $leftover ]] || fail "SIGTERM left $leftover in TMPDIR"

# Standard input closed: the program meets the end of its input, and a
# variable read there shows nothing that was never written: a text is
# empty, a number 0.
for row in '字s got[]' '数a got[0]'; do
  read -r variable shown <<<"$row"
  printf 'はじめ\n\t打つ(%s);\n\t見る("got",%s);\nおわり\n' "$variable" "$variable" >reads.zem
  status=0
  timeout 20 "$zemuc" run reads.zem <&- >out 2>err || status=$?
  ((status == 0)) || fail "standard input closed, $variable: status $status: $(cat err)"
  [[ $(head -n 1 out) == "$shown" ]] || fail "standard input closed, $variable, showed: $(cat out)"
done

# The reader of the output gone: the program ends of SIGPIPE as it would
# alone, and zemuc with its status, without a word.
printf 'はじめ\n\twhile(1){\n\t\t見る("x");\n\t}\nおわり\n' >endless.zem
timeout 20 "$zemuc" run endless.zem </dev/null 2>err | head -n 1 >/dev/null
status=${PIPESTATUS[0]}
((status == 141)) || fail "reader gone: status $status: $(cat err)"
[[ -s err ]] && fail "reader gone said: $(cat err)"

# The reader of zemuc's own messages gone: its scratch folder still goes,
# and it ends as a tool whose reader went away ends, of SIGPIPE.
printf 'はじめ\n\t打つ(数a,数b);\n\t数c=数a/数b;\nおわり\n' >divide.zem
for args in "run divide.zem" "run bad.zem" "build bad.zem"; do
  # shellcheck disable=SC2086 # the words of the command
  TMPDIR=$work/tmp timeout 60 "$zemuc" $args <<<"7 0" 2>&1 | :
  status=${PIPESTATUS[0]}
  ((status == 141)) || fail "$args, its messages' reader gone: status $status"
  leftover=$(ls -A tmp)
  [[ -z $leftover ]] || fail "$args, its messages' reader gone, left $leftover in TMPDIR"
done

# A source that never ends: a signal still ends zemuc at once.
mkfifo never.zem
status=0
timeout --preserve-status -k 3 1 "$zemuc" run never.zem </dev/null >out 2>err || status=$?
((status == 143)) || fail "a source that never ends, SIGTERM: status $status"

# The compiler running: a signal ends it, its whole group and zemuc at
# once, and nothing is left in TMPDIR or beside the source; even SIGKILL
# of zemuc leaves no compiler running.
{
  echo 'はじめ'
  seq 30000 | sed 's/.*/\t数a=数a+&;/'
  echo 'おわり'
} >big.zem
compilers_left() { pgrep -f "$work/tmp/" >/dev/null; }
for signal in TERM KILL; do
  # timeout(1) sends the signal to zemuc's whole group once its time is
  # up, which SIGALRM tells it as soon as the compiler runs.
  TMPDIR=$work/tmp timeout --preserve-status -s "$signal" -k 3 60 \
    "$zemuc" build big.zem >out 2>err &
  watcher=$!
  for _ in $(seq 600); do
    compilers_left && break
    sleep 0.1
  done
  compilers_left || fail "SIG$signal: the compiler never ran: $(cat err)"
  kill -ALRM "$watcher"
  status=0
  wait "$watcher" || status=$?
  [[ $signal == TERM ]] && expected=143 || expected=137
  ((status == expected)) || fail "SIG$signal while compiling: status $status: $(cat err)"
  for _ in $(seq 30); do
    compilers_left || break
    sleep 0.1
  done
  compilers_left && fail "SIG$signal while compiling left the compiler running"
  leftover=$(ls -A tmp; ls -A | grep zemuc-)
  [[ -z $leftover ]] || fail "SIG$signal while compiling left $leftover"
  pkill -KILL -f "$work/tmp/"
done

# A file-size limit: the write fails and is told, with nothing left half
# written, and not taken for a compiler without checks.
status=0
(ulimit -f 400 && TMPDIR=$work/tmp exec "$zemuc" build ok.zem) >out 2>err || status=$?
((status == 1)) || fail "file-size limit: status $status: $(cat err)"
grep -q "File too large" err || fail "file-size limit said: $(cat err)"
leftover=$(ls -A tmp; ls -A | grep -e zemuc- -e '^ok$')
[[ -z $leftover ]] || fail "file-size limit left $leftover"

((failures == 0)) && echo "ok: signal settings, signals, closed and gone descriptors, limits"
exit $((failures > 0))
