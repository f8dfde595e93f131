#!/usr/bin/env bash
# Vim set up with exactly the README's .vimrc lines (the folder put where
# they name it) and nothing else of a user's: a .zem file gets its filetype,
# settings, encoding and colours (vim/vimrc_test.vim).
#   vim_test.sh README
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if ! command -v vim >/dev/null 2>&1; then
  echo "vim is missing: install vim"
  exit 77
fi
if ! vim --version | grep -q '+syntax'; then
  echo "vim has no syntax highlighting (vim-tiny?): install vim"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
project=$(cd "$here/../.." && pwd)
mkdir "$scratch/home"
awk '/^```vim$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$1" |
  sed "s|/path/to/zemucfilter|$project|g" >"$scratch/home/.vimrc"
grep -q runtimepath "$scratch/home/.vimrc" ||
  { echo "FAIL: the README has no Vim configuration"; exit 1; }
# A .vimrc of one's own: Vim reads it instead of defaults.vim, as -u does.
export HOME=$scratch/home ZEM_SCRATCH=$scratch
unset VIMINIT EXINIT MYVIMRC
export LANG=C.UTF-8 LC_ALL=C.UTF-8
cd "$scratch"
status=0
timeout 60 vim -N -u "$HOME/.vimrc" -i NONE -n -es -S "$here/vim/vimrc_test.vim" </dev/null || status=$?
cat "$scratch/result" 2>/dev/null || echo "FAIL: Vim ended with $status before its checks were done"
exit "$status"
