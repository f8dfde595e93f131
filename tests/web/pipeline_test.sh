#!/usr/bin/env bash
# Runs the pipeline's test under node (with --browser, its test in
# Chromium); skipped (77) where node is missing.
# Usage: pipeline_test.sh [--browser] PROJECT_DIR ZEMUCWEB_WASM
command -v node >/dev/null 2>&1 || { echo "skipped: node missing (scripts/ensure-tools.sh web)"; exit 77; }
test=pipeline_test.mjs
[[ ${1-} == --browser ]] && { test=playground_browser_test.mjs; shift; }
exec node "$(dirname "$0")/$test" "$@"
