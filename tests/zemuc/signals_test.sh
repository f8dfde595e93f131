#!/usr/bin/env bash
# zemuc under the signal settings and signals that launchers and users
# give it: nothing reported as success that failed, nothing left behind.
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

((failures == 0)) && echo "ok: signal settings and signals"
exit $((failures > 0))
