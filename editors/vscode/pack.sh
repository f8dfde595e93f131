#!/usr/bin/env bash
# Packs the VS Code extension as a .vsix: the entry point bundled by esbuild
# with vscode-languageclient, the grammar copied in, then vsce package. The
# source folder stays as it is; the package is put together in a scratch one.
#
#   editors/vscode/pack.sh [OUT.vsix]   (default: editors/vscode/zem-VERSION.vsix)
#
# Exits 77 when the npm packages cannot be installed (see editors/setup.sh).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
editors=$(dirname "$here")

status=0
"$editors/setup.sh" || status=$?
((status == 0)) || exit "$status"

version=$(node -p 'require(process.argv[1]).version' "$here/package.json")
out=$(realpath -m "${1:-$here/zem-$version.vsix}")
mkdir -p "$(dirname "$out")"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$here/package.json" "$here/language-configuration.json" "$here/README.md" "$here/.vscodeignore" "$stage/"
mkdir "$stage/syntaxes" "$stage/dist"
cp "$editors/textmate/zem.tmLanguage.json" "$stage/syntaxes/"
"$editors/node_modules/.bin/esbuild" "$here/src/extension.js" --bundle --platform=node --format=cjs \
  --target=node18 --minify --external:vscode --log-level=warning --outfile="$stage/dist/extension.js"
(cd "$stage" && "$editors/node_modules/.bin/vsce" package --no-dependencies --skip-license \
  --allow-missing-repository --out "$out")
