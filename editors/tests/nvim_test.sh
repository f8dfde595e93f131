#!/usr/bin/env bash
# Headless Neovim with editors/vim on its 'runtimepath' and nothing else of a
# user's: filetype, encodings and syntax groups (vim/syntax_test.lua).
#   nvim_test.sh EXAMPLES_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if ! command -v nvim >/dev/null 2>&1; then
  echo "nvim is missing: install neovim"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ZEM_EXAMPLES=$(cd "$1" && pwd) ZEM_TRAPS=$here/grammar/traps ZEM_SCRATCH=$scratch
# Encodings as on a UTF-8 terminal, whatever the test runs under.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
timeout 120 nvim --headless --clean --cmd "set runtimepath^=$here/../vim" \
  -c "luafile $here/vim/syntax_test.lua" </dev/null
