#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as .clang-format
# says. `scripts/check-format.sh --fix` formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
  echo "clang-format is missing: format check skipped (apt-get install clang-format)"
  exit 0
fi
mapfile -t files < <(git ls-files '*.cc' '*.h')
if [[ ${1:-} == --fix ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
clang-format --dry-run -Werror "${files[@]}"
echo "ok: ${#files[@]} files formatted as .clang-format says"
