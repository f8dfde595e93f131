#!/usr/bin/env bash
# Scope assertions of the TextMate grammar, run by vscode-tmgrammar-test over
# the UTF-8 copies of the examples (grammar/examples) and the programs of
# learners' traps (grammar/traps). Their assertion lines are C line comments:
#   // <~~--- keyword.other.statement.zem
# asserts the scopes of the two characters after the first two of the line
# above ('-' required scopes, ' - ' then scopes that must be absent).
set -euo pipefail
editors=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

status=0
"$editors/setup.sh" || status=$?
((status == 0)) || exit "$status"

shopt -s nullglob
cases=("$editors"/tests/grammar/examples/*.zem.txt "$editors"/tests/grammar/traps/*.zem.txt)
if ((${#cases[@]} < 9)); then
  echo "expected the seven examples and the traps, found ${#cases[@]} test files"
  exit 1
fi
cd "$editors"
node_modules/.bin/vscode-tmgrammar-test --compact --grammar textmate/zem.tmLanguage.json "${cases[@]}"
