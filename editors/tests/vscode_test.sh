#!/usr/bin/env bash
# Packs the VS Code extension with editors/vscode/pack.sh into a scratch
# folder, then runs one test on the .vsix:
#   vscode_test.sh contents   what the package holds
#   vscode_test.sh entry      its entry point starting zemuc lsp
set -euo pipefail
editors=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
test=$1

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
"$editors/vscode/pack.sh" "$scratch/zem.vsix" >"$scratch/pack.log" 2>&1 || status=$?
if ((status != 0)); then
  cat "$scratch/pack.log"
  exit "$status"
fi
node "$editors/tests/vscode/${test}_test.js" "$scratch/zem.vsix"
