#!/usr/bin/env bash
# How long a learner waits, from `zemuc run` to the program's first output,
# for a typical program (examples/keisan): with the run-time checks (the
# default), without them (--no-checks), and the floor, gcc building prog.c
# as the README says and the program run. Medians of runs that alternate
# the three, so that each sees the same load, after one warm-up run of each.
#   bench/zemuc_start.sh path/to/zemuc
# BENCH_RUNS sets the number of timed runs of each (default 11); CC the
# compiler zemuc uses (gcc when unset; the floor is always gcc).
set -euo pipefail
zemuc=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-11}
work=${BENCH_DIR:-$(dirname "$zemuc")/bench}/start
mkdir -p "$work"
cd "$work"

helper=$work/first_output
if [[ ! -x $helper || $root/bench/first_output.cc -nt $helper ]]; then
  c++ -std=c++20 -O2 "$root/bench/first_output.cc" -o "$helper"
fi
example=$root/examples/keisan
cp "$example/in.txt" .
iconv -f CP932 -t UTF-8 "$example/keisan.zem" >keisan.zem
iconv -f CP932 -t UTF-8 "$example/stdin" >stdin.utf8
cp "$example/stdin" stdin.sjis
runtime=$(dirname "$zemuc")/share/zemucfilter/delkai.c
# prog.c as zemuc writes it, for the floor.
env LC_ALL=C.UTF-8 "$zemuc" run --no-checks keisan.zem <stdin.utf8 >/dev/null 2>&1

checked() { env LC_ALL=C.UTF-8 "$helper" stdin.utf8 "$zemuc" run keisan.zem; }
plain() { env LC_ALL=C.UTF-8 "$helper" stdin.utf8 "$zemuc" run --no-checks keisan.zem; }
floor() {
  "$helper" stdin.sjis sh -c "gcc -std=gnu89 -finput-charset=CP932 \
    -fexec-charset=CP932 -w keisan.c '$runtime' -o floor && ./floor"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

checked >/dev/null
plain >/dev/null
floor >/dev/null
c=() p=() f=()
for ((i = 0; i < runs; i++)); do
  c+=("$(checked | cut -d' ' -f1)")
  p+=("$(plain | cut -d' ' -f1)")
  f+=("$(floor | cut -d' ' -f1)")
done
ms() { awk -v n="$1" 'BEGIN { printf "%.0f ms", n / 1e3 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
cm=$(printf '%s\n' "${c[@]}" | median)
pm=$(printf '%s\n' "${p[@]}" | median)
fm=$(printf '%s\n' "${f[@]}" | median)
echo "== zemuc run to the first output of examples/keisan, medians of $runs (${CC:-gcc})"
echo "with checks:           $(ms "$cm") ($(ratio "$cm" "$fm") times the floor)"
echo "without (--no-checks): $(ms "$pm") ($(ratio "$pm" "$fm") times the floor)"
echo "floor (gcc + run):     $(ms "$fm")"
