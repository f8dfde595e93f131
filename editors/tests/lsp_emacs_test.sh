#!/usr/bin/env bash
# Emacs with eglot against the real `zemuc lsp`, set up with exactly the
# README's lines (the folder put where they name it), on a program with a
# trap: diagnostics through flymake, hover, completion and definition.
#   lsp_emacs_test.sh ZEMUC README
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if ! command -v emacs >/dev/null 2>&1; then
  echo "emacs is missing: install emacs-nox"
  exit 77
fi
# Built in from Emacs 29; before, from a package that the site files of
# the system (which -q keeps, unlike -Q) put on the load path.
if ! emacs --batch -q --eval "(require 'eglot)" \
  >/dev/null 2>&1; then
  echo "eglot is missing: install elpa-eglot"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin"
ln -s "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" "$scratch/bin/zemuc"
project=$(cd "$here/../.." && pwd)
awk '/^```elisp$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$2" |
  sed "s|/path/to/zemucfilter|$project|g" >"$scratch/init.el"
grep -q eglot-server-programs "$scratch/init.el" ||
  { echo "FAIL: the README has no eglot configuration"; exit 1; }
export ZEM_SCRATCH=$scratch PATH=$scratch/bin:$PATH
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# The server finds no C compiler: these are the editor's side, with the
# check's findings alone; what the compiler adds is tests/lsp's to assert.
export CC=$scratch/no-compiler
cd "$scratch"
timeout 120 emacs --batch -q \
  -l "$scratch/init.el" -l "$here/lsp/eglot_client_test.el" </dev/null
