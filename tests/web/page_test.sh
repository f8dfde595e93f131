#!/usr/bin/env bash
# The playground's page in a real chromium (tests/web/page_test.mjs), over
# the site that `make web` leaves in SITE_DIR. Skipped (77) with a word where
# node, chromium, puppeteer-core or the site is missing.
# Usage: page_test.sh PROJECT_DIR SITE_DIR ZEMUCFILTER ZEMUC
set -euo pipefail
if ! command -v node >/dev/null 2>&1; then
  echo "skipped: node missing (scripts/ensure-tools.sh browser)"
  exit 77
fi
exec node "$(dirname "$0")/page_test.mjs" "$@"
