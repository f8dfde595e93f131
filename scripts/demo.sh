#!/usr/bin/env bash
# Translates one example in a scratch folder and shows, converted to UTF-8
# for the terminal, the console dialogue and the C program written.
set -euo pipefail
translator=$(realpath "$1")
example=$(realpath "$2")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$example" "$work/"
name=$(basename "$example")
cd "$work"

echo "== zemucfilter $name (console, shown in UTF-8)"
echo | "$translator" "$name" | iconv -f CP932 -t UTF-8
echo
echo "== ${name%.zem}.c (shown in UTF-8)"
iconv -f CP932 -t UTF-8 "${name%.zem}.c"
