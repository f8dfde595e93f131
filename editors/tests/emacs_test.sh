#!/usr/bin/env bash
# zem-mode in Emacs without any user setup: the encodings .zem files are
# read and written in, and the faces at chosen places (emacs/zem-mode-test.el).
#   emacs_test.sh EXAMPLES_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if ! command -v emacs >/dev/null 2>&1; then
  echo "emacs is missing: install emacs-nox"
  exit 77
fi
export ZEM_EXAMPLES=$(cd "$1" && pwd) ZEM_TRAPS=$here/grammar/traps
export LANG=C.UTF-8 LC_ALL=C.UTF-8
timeout 120 emacs --batch -Q -L "$here/../emacs" -l "$here/emacs/zem-mode-test.el" \
  -f ert-run-tests-batch-and-exit </dev/null
