#!/usr/bin/env bash
# Each folder of src/ includes only from itself and the folders below it,
# so that any unit can be built and tested with what lies beneath it.
# Headers at the top of src/ (the translation context, the Shift-JIS texts)
# are shared by all.
# Usage: layering_test.sh SRC_DIR
set -uo pipefail
src=$1
# Lowest first.
layers=(io lexer symbols codegen driver cli zemuc)

level_of() {
  local i
  for i in "${!layers[@]}"; do
    [[ ${layers[$i]} == "$1" ]] && { echo "$i"; return; }
  done
  echo -1
}

status=0
while IFS= read -r file; do
  folder=${file#"$src"/}
  folder=${folder%%/*}
  own=$(level_of "$folder")
  if ((own < 0)); then
    echo "FAIL: $file is in a folder that has no place in the layers"
    status=1
    continue
  fi
  while IFS= read -r included; do
    [[ $included == */* ]] || continue  # a top-level header
    other=$(level_of "${included%%/*}")
    if ((other < 0 || other > own)); then
      echo "FAIL: $file includes $included, which is not below $folder"
      status=1
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -mindepth 2 -name '*.h' -o -mindepth 2 -name '*.cc')
((status == 0)) && echo "ok: every folder includes only from below it"
exit "$status"
