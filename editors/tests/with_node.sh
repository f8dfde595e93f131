#!/usr/bin/env bash
# Runs a Node.js test script, or skips it (77) when node is missing.
#   with_node.sh SCRIPT.js [ARGS...]
set -euo pipefail
if ! command -v node >/dev/null 2>&1; then
  echo "node is missing: install Node.js 20 or later"
  exit 77
fi
exec node "$@"
