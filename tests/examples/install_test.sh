#!/usr/bin/env bash
# Installs into a scratch root with DESTDIR and checks that exactly the
# translator, the run-time file and the manual page land where users look
# for them, and that the installed translator runs.
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
want=$'bin/zemucfilter\nshare/man/man1/zemucfilter.1\nshare/zemucfilter/delkai.c'
got=$(cd "$root" && find . -type f | sed 's|^\./opt/zemuc/||' | LC_ALL=C sort)
[[ $got == "$want" ]] ||
  fail "installed files differ:"$'\n'"$got"$'\n'"expected:"$'\n'"$want"

[[ -x $prefix/bin/zemucfilter ]] || fail "bin/zemucfilter is not executable"
cmp "$source/runtime/delkai.c" "$prefix/share/zemucfilter/delkai.c" ||
  fail "the installed delkai.c is not the run-time file"
cmp "$source/man/zemucfilter.1" "$prefix/share/man/man1/zemucfilter.1" ||
  fail "the installed manual page is not man/zemucfilter.1"

# Without an argument it shows its usage and ends with status 8.
printf '\n' | "$prefix/bin/zemucfilter" >/dev/null
status=$?
((status == 8)) || fail "the installed translator ended with status $status"
echo "ok: DESTDIR install puts the three files in place"
