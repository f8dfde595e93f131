#!/usr/bin/env bash
# Neovim's own LSP client against the real `zemuc lsp`, set up with exactly
# the lines the README gives as init.lua (the 0.7 ones or the 0.8 ones, as
# the Neovim found has vim.lsp.start or not): the filetype, the colours and
# the server on a program with traps, and a new server when it has died.
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
project=$(cd "$here/../.." && pwd)
# Each ```lua block of the README, by its first line, the folder put where
# the lines name it.
awk -v dir="$scratch" '
  /^```lua$/ { n++; out = dir "/readme" n ".lua"; inside = 1; next }
  /^```$/ { inside = 0; next }
  inside { print > out }
' "$2"
for block in "$scratch"/readme*.lua; do
  sed -i "s|/path/to/zemucfilter|$project|g" "$block"
  case $(head -1 "$block") in
    "-- Neovim 0.7"*) mv "$block" "$scratch/config-0.7.lua" ;;
    "-- Neovim 0.8"*) mv "$block" "$scratch/config-0.8.lua" ;;
  esac
done
[[ -f $scratch/config-0.7.lua && -f $scratch/config-0.8.lua ]] ||
  { echo "FAIL: the README has no Neovim configuration for 0.7 and 0.8"; exit 1; }
# A new user's Neovim: the block for its version as the whole init.lua, and
# nothing else of anyone's (no plugins, no data, no other config).
version=$(nvim --headless --clean -c 'lua io.stdout:write(vim.lsp.start and "0.8" or "0.7")' \
  -c 'qall!' </dev/null)
mkdir -p "$scratch/home/.config/nvim"
cp "$scratch/config-$version.lua" "$scratch/home/.config/nvim/init.lua"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
export XDG_DATA_HOME=$scratch/home/.local/share XDG_STATE_HOME=$scratch/home/.local/state
unset XDG_CONFIG_DIRS XDG_DATA_DIRS VIMINIT MYVIMRC
export ZEM_SCRATCH=$scratch PATH=$scratch/bin:$PATH
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# The server finds no C compiler: these are the editor's side, with the
# check's findings alone; what the compiler adds is tests/lsp's to assert.
export CC=$scratch/no-compiler
cd "$scratch"
timeout 120 nvim --headless -c "luafile $here/lsp/nvim_client_test.lua" </dev/null
