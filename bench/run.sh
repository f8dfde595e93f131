#!/usr/bin/env bash
# The benchmark that `make bench` runs:
#   bench/run.sh path/to/zemucfilter
# Generates sources beside the translator (in a bench folder of its build
# folder, never committed) and reports, for each kind of source:
#   - instructions per source byte, counted by callgrind on a few megabytes
#     (stable on a busy machine, unlike times), beside the round before's
#     figure from bench/baseline.txt;
#   - on 100 MB: megabytes per second and the ratio to `cat SRC SRC > OUT`
#     (reading the source twice and writing once), both as medians of runs
#     that alternate the translator and cat, so that both see the same load;
#   - peak memory;
# then the peak memory on 9 MB and 90 MB sources that name ten variables,
# and the instructions per line with 10, 10,000 and 100,000 numbered names.
# The two kinds of source: token-dense (bench/gen_dense.cc: short lines of
# every statement, numbered names) and long-line (bench/gen_source.cc:
# every statement, some 2 KB display lines).
# BENCH_RUNS sets the number of timed runs of each (default 5); BENCH_QUICK=1
# leaves out the 100 MB timings.
set -euo pipefail
translator=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
work=${BENCH_DIR:-$(dirname "$translator")/bench}
runs=${BENCH_RUNS:-5}
mkdir -p "$work"
cd "$work"

# build NAME: the generator bench/NAME.cc, rebuilt when it changes.
build() {
  local exe=$work/$1
  if [[ ! -x $exe || $root/bench/$1.cc -nt $exe || $root/bench/kanji.h -nt $exe ]]; then
    c++ -std=c++20 -O2 -I "$root/src" "$root/bench/$1.cc" -o "$exe"
  fi
}
build gen_source
build gen_dense

# generate FILE GENERATOR ARGS...: once; later runs reuse it.
generate() {
  local name=$1 generator=$work/$2
  shift 2
  local stamp="$name.args" want="$* $(stat -c %Y "$generator")"
  if [[ ! -f $name || ! -f $stamp || $(cat "$stamp") != "$want" ]]; then
    "$generator" "$@" >"$name"
    echo "$want" >"$stamp"
  fi
}

translate() { "$translator" "$1" </dev/null >/dev/null; }
cat_floor() { cat "$1" "$1" >cat.out; }

# instructions SOURCE: the translator's instructions in user space.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=callgrind.out \
    "$translator" "$1" </dev/null >/dev/null 2>callgrind.log
  awk '/^(summary|totals):/ { print $2; exit }' callgrind.out
}

# elapsed_ns COMMAND...: the wall time of one run, in nanoseconds.
elapsed_ns() {
  local start
  start=$(date +%s%N)
  "$@"
  echo $(($(date +%s%N) - start))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# timings SOURCE: "TRANSLATOR_NS CAT_NS", medians of alternating runs
# after one warm-up run of each.
timings() {
  translate "$1"
  cat_floor "$1"
  local t=() c=()
  for ((i = 0; i < runs; i++)); do
    t+=("$(elapsed_ns translate "$1")")
    c+=("$(elapsed_ns cat_floor "$1")")
  done
  rm -f cat.out
  echo "$(printf '%s\n' "${t[@]}" | median) $(printf '%s\n' "${c[@]}" | median)"
}

# peak_kb SOURCE: the translator's maximum resident size (GNU time).
peak_kb() {
  /usr/bin/time -f %M -o peak.txt "$translator" "$1" </dev/null >/dev/null
  cat peak.txt
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
ms() { awk -v n="$1" 'BEGIN { printf "%.0f ms", n / 1e6 }'; }
lines() { wc -l <"$1" | tr -d ' '; }

echo "== generating sources in $work"
generate dense3.zem gen_dense 3 1000
generate long3.zem gen_source 3 1000
if [[ ${BENCH_QUICK:-0} != 1 ]]; then
  generate dense100.zem gen_dense 100 1000
  generate long100.zem gen_source 100 1000
fi
generate ten9.zem gen_source 9 10 fixed
generate ten90.zem gen_source 90 10 fixed
for n in 10 10000 100000; do generate "names$n.zem" gen_dense 20 "$n"; done

# was KIND: ", was FIGURE", the instructions per source byte that
# bench/baseline.txt holds for KIND from the round before; empty without.
was() {
  local file=$root/bench/baseline.txt
  [[ -f $file ]] || return 0
  awk -v kind="$1" '$1 == kind { printf ", was %s", $2 }' "$file"
}

# report KIND SMALL LARGE
report() {
  local kind=$1 small=$2 large=$3
  echo "== $kind source"
  local ir bytes
  ir=$(instructions "$small")
  bytes=$(stat -c %s "$small")
  echo "instructions:      $(ratio "$ir" "$bytes") per source byte ($small, $(lines "$small") lines)$(was "$kind")"
  [[ -f $large && ${BENCH_QUICK:-0} != 1 ]] || return 0
  local t c
  read -r t c < <(timings "$large")
  bytes=$(stat -c %s "$large")
  echo "translator:        $(ms "$t") for $large ($(lines "$large") lines), median of $runs"
  echo "cat SRC SRC > OUT: $(ms "$c"), median of $runs"
  echo "ratio to cat:      $(ratio "$t" "$c")"
  echo "throughput:        $(awk -v b="$bytes" -v t="$t" 'BEGIN { printf "%.0f", b / 1e6 / (t / 1e9) }') MB/s of source"
  echo "peak memory:       $(peak_kb "$large") KB"
}
report token-dense dense3.zem dense100.zem
report long-line long3.zem long100.zem

echo "== peak memory with ten variables"
small=$(peak_kb ten9.zem)
large=$(peak_kb ten90.zem)
echo "9 MB source:       $small KB"
echo "90 MB source:      $large KB (target < 16384 KB)"
echo "90 MB / 9 MB:      $(ratio "$large" "$small")"
# A single long line is held whole, once as read and once tokenized; what
# the tokenizer adds grows with its tokens, not with its bytes.
[[ -f line10.zem ]] || head -c 10000000 /dev/zero | tr '\0' x >line10.zem
echo "one 10 MB line:    $(peak_kb line10.zem) KB"

echo "== instructions per line, 20 MB token-dense sources of numbered names"
base=
for n in 10 10000 100000; do
  ir=$(instructions "names$n.zem")
  per=$(ratio "$ir" "$(lines "names$n.zem")")
  [[ -n $base ]] || base=$per
  printf '%-7s names:     %s per line, %s times that with 10 (target <= 1.15)\n' \
    "$n" "$per" "$(ratio "$per" "$base")"
done
