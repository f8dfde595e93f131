#!/usr/bin/env bash
# One example from source to running program with zemuc, as a learner on
# Linux has it: the source in UTF-8, `zemuc run` on it with the example's
# stored keyboard input, then the files the program wrote and the C file
# the translator wrote beside the source.
# Usage: demo.sh ZEMUC EXAMPLE.zem
# Input files of the program and its keyboard input (a file named stdin) sit
# beside EXAMPLE.zem; the example itself is Shift-JIS, as stored.
set -euo pipefail
shopt -s nullglob

if ! command -v gcc >/dev/null 2>&1; then
  echo "gcc is missing: install it with 'apt-get install gcc'"
  exit 1
fi

zemuc=$(realpath "$1")
example=$(realpath "$2")
folder=$(dirname "$example")
name=$(basename "$example")
base=${name%.zem}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for file in "$folder"/*; do
  [[ -f $file && $file != *.zem && $(basename "$file") != stdin ]] || continue
  cp "$file" "$work/"
done
iconv -f CP932 -t UTF-8 "$example" >"$work/$name"
keyboard=/dev/null
if [[ -f $folder/stdin ]]; then
  iconv -f CP932 -t UTF-8 "$folder/stdin" >"$work/.typed"
  keyboard=$work/.typed
fi
cd "$work"
before=$(ls)

echo "== $name, as written in UTF-8"
cat "$name"
echo
echo "== typed at the keyboard"
cat "$keyboard"
echo
echo "== zemuc run $name"
status=0
"$zemuc" run "$name" <"$keyboard" || status=$?
echo
echo "== the program ended with status $status"
for file in *; do
  grep -qxF "$file" <<<"$before" && continue
  [[ $file == "$base.c" ]] && continue
  echo
  echo "== $file, written by the program (Shift-JIS, shown in UTF-8)"
  iconv -f CP932 -t UTF-8 "$file"
done
echo
echo "== $base.c, written beside the source (Shift-JIS, shown in UTF-8)"
iconv -f CP932 -t UTF-8 "$base.c"
exit "$status"
