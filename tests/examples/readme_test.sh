#!/usr/bin/env bash
# What a README shows zemuc doing is what the built zemuc does. Each
# session block ("$ zemuc ... NAME" and the lines after it) that comes right
# after a program block (one that begins with はじめ) is played in a scratch
# folder with the program saved as NAME, and must show exactly those lines.
# In a run session, the learner types the lines that are one number or word
# and the word after the closing prompt. A session may end with "$ echo $?"
# and the status. A *.ja.md README is played in ja_JP.UTF-8 (made with
# localedef when the system has none), any other in C.UTF-8, and both with
# gcc, whose name a README shows when a program does not build: CC is unset.
# Usage: readme_test.sh ZEMUC README. Exits 77 (skipped) without gcc, or
# for a Japanese README without a ja_JP.UTF-8 locale.
set -uo pipefail
export LC_ALL=C  # the script compares bytes; zemuc gets the README's locale
zemuc=$(realpath "$1")
readme=$2
fail() {
  echo "FAIL: $*"
  exit 1
}
skip() {
  echo "SKIP: $*"
  exit 77
}
command -v gcc >/dev/null 2>&1 || skip "gcc is not installed"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
locale=(LC_ALL=C.UTF-8)
if [[ $readme == *.ja.md ]]; then
  locale=(LC_ALL=ja_JP.UTF-8)
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
    mkdir "$work/locales"
    localedef --no-warnings=ascii -f UTF-8 -i ja_JP "$work/locales/ja_JP.UTF-8" \
      >/dev/null 2>&1 || skip "no ja_JP.UTF-8 locale can be made"
    locale+=(LOCPATH="$work/locales")
  fi
fi
mkdir "$work/play"

# The fenced blocks, in order.
blocks=()
block=
inside=0
while IFS= read -r line; do
  if [[ $line =~ ^\ *'```' ]]; then
    ((inside)) && blocks+=("$block")
    inside=$((!inside))
    block=
  elif ((inside)); then
    block+=$line$'\n'
  fi
done <"$readme"

prompt='--->何か文字を入れれば終わるよ'
played=0
for ((i = 1; i < ${#blocks[@]}; i++)); do
  session=${blocks[i]} program=${blocks[i - 1]}
  [[ $session == '$ zemuc '* && $program == $'はじめ\n'* ]] || continue
  mapfile -t shown <<<"${session%$'\n'}"
  read -ra command <<<"${shown[0]#\$ }"
  shown=("${shown[@]:1}")
  want_status=
  n=${#shown[@]}
  if ((n >= 2)) && [[ ${shown[n - 2]} == '$ echo $?' ]]; then
    want_status=${shown[n - 1]}
    shown=("${shown[@]:0:n-2}")
  fi
  typed= want=
  for line in "${shown[@]}"; do
    if [[ ${command[1]} == run ]]; then
      if [[ $line =~ ^[0-9A-Za-z.+-]+$ ]]; then
        typed+=$line$'\n'
        continue
      elif [[ $line == "$prompt"?* ]]; then
        typed+=${line#"$prompt"}$'\n'
        line=$prompt
      fi
    fi
    want+=$line$'\n'
  done
  want=${want%$'\n'}

  printf '%s' "$program" >"$work/play/${command[-1]}"
  got=$(cd "$work/play" && printf '%s' "$typed" |
    env -u LANGUAGE -u LC_MESSAGES -u CC "${locale[@]}" "$zemuc" "${command[@]:1}" 2>&1)
  status=$?
  [[ $got == "$want" ]] ||
    fail "'${command[*]}' shows otherwise than $readme:"$'\n'"$(
      diff <(echo "$want") <(echo "$got"))"
  [[ -z $want_status || $status == "$want_status" ]] ||
    fail "'${command[*]}' ended with status $status, $readme shows $want_status"
  ((played += 1))
done
((played > 0)) || fail "$readme has no session right after a program"
echo "ok: the $played sessions of $readme show what zemuc does"
