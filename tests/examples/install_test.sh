#!/usr/bin/env bash
# Installs into a scratch root with DESTDIR and checks that exactly the
# translator, zemuc, the run-time file and the manual pages land where
# users look for them, and that the installed commands run.
# Usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR
set -uo pipefail
cmake=$1
build=$2
source=$3

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

DESTDIR=$root "$cmake" --install "$build" --prefix /opt/zemuc
status=$?
((status == 0)) || fail "cmake --install ended with status $status"

prefix=$root/opt/zemuc
want=$'bin/zemuc\nbin/zemucfilter\nshare/man/man1/zemuc.1\nshare/man/man1/zemucfilter.1\nshare/zemucfilter/delkai.c'
got=$(cd "$root" && find . -type f | sed 's|^\./opt/zemuc/||' | LC_ALL=C sort)
[[ $got == "$want" ]] ||
  fail "installed files differ:"$'\n'"$got"$'\n'"expected:"$'\n'"$want"

[[ -x $prefix/bin/zemucfilter ]] || fail "bin/zemucfilter is not executable"
cmp "$source/runtime/delkai.c" "$prefix/share/zemucfilter/delkai.c" ||
  fail "the installed delkai.c is not the run-time file"
for page in zemucfilter zemuc; do
  cmp "$source/man/$page.1" "$prefix/share/man/man1/$page.1" ||
    fail "the installed manual page is not man/$page.1"
done

# Without an argument it shows its usage and ends with status 8.
printf '\n' | "$prefix/bin/zemucfilter" >/dev/null
status=$?
((status == 8)) || fail "the installed translator ended with status $status"
# The installed zemuc builds with the installed run-time file, wherever the
# install was staged.
if command -v gcc >/dev/null 2>&1; then
  mkdir "$root/work"
  printf '%s\n' 'はじめ' '見る("できた");' 'おわり' >"$root/work/p.zem"
  (cd "$root/work" && env -u CC "$prefix/bin/zemuc" build p.zem) ||
    fail "the installed zemuc does not build a program"
  shown=$(cd "$root/work" && ./p </dev/null | iconv -f CP932 -t UTF-8)
  [[ $shown == できた* ]] || fail "the program built by the installed zemuc shows: $shown"
fi
echo "ok: DESTDIR install puts the five files in place, and they work"
