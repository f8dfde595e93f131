#!/usr/bin/env bash
# The whole road for one example, in a scratch folder: translates it, shows
# the console dialogue and the C program (converted to UTF-8 for the
# terminal), builds the C with gcc and the run-time file, runs it on the
# example's stored keyboard input and shows what it printed and the files it
# wrote.
# Usage: demo.sh TRANSLATOR EXAMPLE.zem [RUNTIME.c]
# Input files of the program and its keyboard input (a file named stdin) sit
# beside EXAMPLE.zem.
set -euo pipefail
shopt -s nullglob

if ! command -v gcc >/dev/null 2>&1; then
  echo "gcc is missing: install it with 'apt-get install gcc'"
  exit 1
fi

translator=$(realpath "$1")
example=$(realpath "$2")
runtime=$(realpath "${3:-$(dirname "$0")/../runtime/delkai.c}")
folder=$(dirname "$example")
name=$(basename "$example")
base=${name%.zem}
readonly cflags="-std=gnu89 -finput-charset=CP932 -fexec-charset=CP932"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/run"
cp "$example" "$runtime" "$work/"
# The program runs in a folder of its own that holds its input files, so
# that what it writes stands out.
for file in "$folder"/*; do
  [[ -f $file && $file != *.zem && $(basename "$file") != stdin ]] || continue
  cp "$file" "$work/run/"
done
keyboard=/dev/null
[[ -f $folder/stdin ]] && keyboard=$folder/stdin
cd "$work"

echo "== zemucfilter $name (console, shown in UTF-8)"
if ! echo | "$translator" "$name" | iconv -f CP932 -t UTF-8; then
  echo "== the translation failed"
  exit 1
fi
echo
echo "== $base.c (shown in UTF-8)"
iconv -f CP932 -t UTF-8 "$base.c"
echo

echo "== gcc $cflags $base.c $(basename "$runtime")"
# Generated programs draw warnings (implicit int, implicit delkai); they
# are shown only when the build fails.
# shellcheck disable=SC2086
if ! gcc $cflags "$base.c" "$(basename "$runtime")" -o "$base" \
    >compiler.txt 2>&1; then
  cat compiler.txt
  exit 1
fi
echo

before=$(ls run)
echo "== ./$base, typing (shown in UTF-8):"
iconv -f CP932 -t UTF-8 "$keyboard"
echo "== what it shows (in UTF-8):"
(cd run && "../$base" <"$keyboard") | iconv -f CP932 -t UTF-8
echo
for file in run/*; do
  grep -qxF "$(basename "$file")" <<<"$before" && continue
  echo "== $(basename "$file"), written by the program (in UTF-8)"
  iconv -f CP932 -t UTF-8 "$file"
done
