#!/usr/bin/env bash
# Builds the run-time file as strict C89 with every warning an error, so that
# it fits any flags a generated program is built with.
# Usage: strict_c89.sh COMPILER FILE. Exits 77 (skipped) without COMPILER.
set -euo pipefail
compiler=$1
file=$2
if ! command -v "$compiler" >/dev/null 2>&1; then
  echo "SKIP: $compiler is not installed"
  exit 77
fi
"$compiler" -std=c89 -pedantic-errors -Wall -Wextra -Werror -c "$file" \
  -o /dev/null
echo "ok: $file is warning-free C89 for $compiler"
