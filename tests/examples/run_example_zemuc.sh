#!/usr/bin/env bash
# Takes one example through zemuc run as a learner on Linux would: the
# source converted to UTF-8, its stored keyboard input typed in UTF-8, and
# what it shows compared with its stored results converted to UTF-8; the
# files it writes stay Shift-JIS and are compared byte for byte. The C file
# made from the UTF-8 source must be the one zemucfilter makes from the
# Shift-JIS source. zemuc builds with the run-time checks on, with gcc or
# with the compiler given (clang reads no code page 932: it builds the
# compiler's copy); one that cannot build the checks says so in one line.
# Usage: run_example_zemuc.sh ZEMUC ZEMUCFILTER EXAMPLE_DIR [COMPILER]
# Exits 77 (skipped) without the compiler.
set -uo pipefail
shopt -s nullglob
compiler=${4:-gcc}
if ! command -v "$compiler" >/dev/null 2>&1; then
  echo "SKIP: $compiler is not installed"
  exit 77
fi
zemuc=$(realpath "$1")
translator=$(realpath "$2")
example=$(realpath "$3")
name=$(basename "$example")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/run" "$work/sjis"
fail() {
  echo "FAIL ($name through zemuc with $compiler): $*"
  exit 1
}
to_utf8() { iconv -f CP932 -t UTF-8 "$1"; }

for file in "$example"/*; do
  [[ -f $file ]] || continue
  case $(basename "$file") in "$name.zem" | stdin) continue ;; esac
  cp "$file" "$work/run/"
done
to_utf8 "$example/$name.zem" >"$work/run/$name.zem" || fail "the source does not convert"
to_utf8 "$example/stdin" >"$work/stdin.utf8"
to_utf8 "$example/expected/stdout" >"$work/expected.utf8"

(cd "$work/run" && env -u LANGUAGE LC_ALL=C.UTF-8 CC="$compiler" timeout 60 \
  "$zemuc" run "$name.zem" <"$work/stdin.utf8" >"$work/stdout" 2>"$work/stderr")
status=$?
((status == 0)) || { cat "$work/stderr"; fail "zemuc run ended with status $status"; }
# A compiler that cannot build the checks (tcc) draws one plain line.
unchecked='^zemuc: built with fewer run-time checks: [^:]* cannot build a checked program here'
if [[ -s $work/stderr ]] && ! { [[ $(wc -l <"$work/stderr") -eq 1 ]] &&
  grep -q "$unchecked" "$work/stderr"; }; then
  cat "$work/stderr"
  fail "zemuc run wrote to stderr"
fi
if ! cmp -s "$work/expected.utf8" "$work/stdout"; then
  diff "$work/expected.utf8" "$work/stdout"
  fail "what the program showed differs from expected/stdout in UTF-8"
fi

for file in "$example/expected"/*; do
  base=$(basename "$file")
  [[ $base == stdout ]] && continue
  cmp -s "$file" "$work/run/$base" || fail "$base differs from the stored one"
done
for file in "$work/run"/*; do
  base=$(basename "$file")
  case $base in "$name.zem" | "$name.c") continue ;; esac
  [[ -f $example/expected/$base ]] && continue
  [[ -f $example/$base ]] || fail "unexpected file $base written"
  cmp -s "$example/$base" "$file" || fail "input file $base was changed"
done

cp "$example/$name.zem" "$work/sjis/"
(cd "$work/sjis" && printf '\n' | "$translator" "$name.zem" >/dev/null) ||
  fail "zemucfilter does not translate the Shift-JIS source"
cmp -s "$work/sjis/$name.c" "$work/run/$name.c" ||
  fail "the UTF-8 source gives another $name.c than the Shift-JIS source"
echo "ok: $name through zemuc run with $compiler gives the stored results in UTF-8"
