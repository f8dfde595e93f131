#!/usr/bin/env bash
# The editors' set-up is the same in both READMEs: the code blocks of the
# English "Editors" section and of the Japanese "エディタの設定" section,
# each with its fence and without the indentation of a list, in order.
#   readmes_setup_test.sh README.md README.ja.md
set -euo pipefail
blocks() {  # the section's heading, the README
  awk -v heading="$1" '
    $0 == heading { section = 1; next }
    section && /^## / { section = 0 }
    !section { next }
    !inside && /^ *```[a-z]+$/ { inside = 1; match($0, /^ */); indent = RLENGTH }
    inside { print substr($0, indent + 1) }
    inside && /^ *```$/ { inside = 0 }
  ' "$2"
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
blocks '## Editors' "$1" >"$scratch/en"
blocks '## エディタの設定' "$2" >"$scratch/ja"
for language in sh vim lua elisp; do
  grep -qx '```'$language "$scratch/en" ||
    { echo "FAIL: no \`\`\`$language block in the Editors section of $1"; exit 1; }
done
if ! diff -u --label "$1" --label "$2" "$scratch/en" "$scratch/ja"; then
  echo "FAIL: the set-up differs between the READMEs"
  exit 1
fi
echo "ok: $(grep -c '^```[a-z]' "$scratch/en") blocks alike"
