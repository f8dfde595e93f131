#!/usr/bin/env bash
# Neovim's own LSP client against the real `zemuc lsp`, set up with exactly
# the lines the README gives (the 0.7 ones or the 0.8 ones, as the Neovim
# found has vim.lsp.start or not), on a program with traps.
#   lsp_nvim_test.sh ZEMUC README
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if ! command -v nvim >/dev/null 2>&1; then
  echo "nvim is missing: install neovim"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin"
ln -s "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" "$scratch/bin/zemuc"
# Each ```lua block of the README, by its first line.
awk -v dir="$scratch" '
  /^```lua$/ { n++; out = dir "/readme" n ".lua"; inside = 1; next }
  /^```$/ { inside = 0; next }
  inside { print > out }
' "$2"
for block in "$scratch"/readme*.lua; do
  case $(head -1 "$block") in
    "-- Neovim 0.7"*) mv "$block" "$scratch/config-0.7.lua" ;;
    "-- Neovim 0.8"*) mv "$block" "$scratch/config-0.8.lua" ;;
  esac
done
[[ -f $scratch/config-0.7.lua && -f $scratch/config-0.8.lua ]] ||
  { echo "FAIL: the README has no Neovim configuration for 0.7 and 0.8"; exit 1; }
export ZEM_SCRATCH=$scratch PATH=$scratch/bin:$PATH
export LANG=C.UTF-8 LC_ALL=C.UTF-8
cd "$scratch"
timeout 120 nvim --headless --clean --cmd "set runtimepath^=$here/../vim" \
  -c "luafile $here/lsp/nvim_client_test.lua" </dev/null
