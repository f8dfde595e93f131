#!/usr/bin/env bash
# Runs pipeline_test.mjs under node; skipped (77) where node is missing.
# Usage: pipeline_test.sh PROJECT_DIR ZEMUCWEB_WASM
command -v node >/dev/null 2>&1 || { echo "skipped: node missing (scripts/ensure-tools.sh web)"; exit 77; }
exec node "$(dirname "$0")/pipeline_test.mjs" "$@"
