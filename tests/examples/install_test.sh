#!/usr/bin/env bash
# Installs into a scratch root with DESTDIR and checks that exactly the
# translator, zemuc, the run-time file and the manual pages (zemuc(1) also
# in Japanese) land where users look for them, that man finds each page in
# its language, and that the installed commands run.
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
want=$'bin/zemuc\nbin/zemucfilter\nshare/man/ja/man1/zemuc.1\nshare/man/man1/zemuc.1\nshare/man/man1/zemucfilter.1\nshare/zemucfilter/delkai.c'
# The playground's site, when make web has built it, is checked below.
got=$(cd "$root" && find . -type f | sed 's|^\./opt/zemuc/||' |
  grep -v '^share/zemucfilter/web/' | LC_ALL=C sort)
[[ $got == "$want" ]] ||
  fail "installed files differ:"$'\n'"$got"$'\n'"expected:"$'\n'"$want"

[[ -x $prefix/bin/zemucfilter ]] || fail "bin/zemucfilter is not executable"
# The site goes whole beside the run-time file, where zemuc serve finds it.
site=$(sed -n 's/^ZEMUC_WEB_SITE:PATH=//p' "$build/CMakeCache.txt")
if [[ -f $site/index.html ]]; then
  diff -r "$site" "$prefix/share/zemucfilter/web" >/dev/null ||
    fail "share/zemucfilter/web is not the site in $site"
fi
cmp "$source/runtime/delkai.c" "$prefix/share/zemucfilter/delkai.c" ||
  fail "the installed delkai.c is not the run-time file"
for page in zemucfilter zemuc; do
  cmp "$source/man/$page.1" "$prefix/share/man/man1/$page.1" ||
    fail "the installed manual page is not man/$page.1"
done
cmp "$source/man/ja/zemuc.1" "$prefix/share/man/ja/man1/zemuc.1" ||
  fail "the installed Japanese manual page is not man/ja/zemuc.1"

# man finds the Japanese page in a Japanese locale and the English one
# elsewhere; through MANPATH, as for any prefix (man -M looks in no language
# folder). A ja_JP.UTF-8 locale is made when the system has none.
shown() {  # LANG [VAR=VALUE...]
  local lang=$1
  shift
  env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG="$lang" "$@" MANWIDTH=80 \
    MANPATH="$prefix/share/man" man zemuc 2>&1
}
if ! command -v man >/dev/null 2>&1; then
  echo "skipped: man is not installed, the pages are not looked up"
else
  text=$(shown C.UTF-8)
  grep -qx 'NAME' <<<"$text" || fail "man in C.UTF-8 does not show the English page: $text"
  japanese=()
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
    mkdir "$root/locales"
    japanese=(LOCPATH="$root/locales")
    localedef --no-warnings=ascii -f UTF-8 -i ja_JP "$root/locales/ja_JP.UTF-8" \
      >/dev/null 2>&1 || japanese=(none)
  fi
  if [[ ${japanese[*]} == none ]]; then
    echo "skipped: no ja_JP.UTF-8 locale, the Japanese page is not looked up"
  else
    text=$(shown ja_JP.UTF-8 "${japanese[@]}")
    grep -qx '名前' <<<"$text" && grep -qx '終了ステータス' <<<"$text" ||
      fail "man in ja_JP.UTF-8 does not show the Japanese page: $text"
  fi
fi

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
echo "ok: DESTDIR install puts the six files in place, and they work"
