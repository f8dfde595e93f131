#!/usr/bin/env bash
# Installs the npm packages that build and test the editor support
# (package.json, package-lock.json) into editors/node_modules with npm ci,
# unless they are there already from this very lock file. Exits 77, the
# tests' "skipped", with one line saying why when node or npm is missing or
# the install cannot happen; 0 when the packages are ready.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

for tool in node npm; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is missing: install Node.js 20 or later with npm"
    exit 77
  fi
done
major=$(node -p 'process.versions.node.split(".")[0]')
if ((major < 20)); then
  echo "node $(node --version) is too old: the packages need Node.js 20 or later"
  exit 77
fi

# Tests run side by side: one install at a time, the others wait for it.
exec 9<"$here/package-lock.json"
flock 9

stamp=$here/node_modules/.installed-lock.json
if cmp -s "$here/package-lock.json" "$stamp"; then
  exit 0
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# No install scripts: nothing here needs one (esbuild finds its binary in its
# platform package), and an optional native module would try to download.
if ! (cd "$here" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error) >"$log" 2>&1; then
  tail -n 20 "$log" >&2
  echo "npm ci failed in $here: the npm packages cannot be installed"
  exit 77
fi
cp "$here/package-lock.json" "$stamp"
