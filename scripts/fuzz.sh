#!/usr/bin/env bash
# Runs each libFuzzer target of a fuzz build for a while, one after the other.
#   scripts/fuzz.sh BUILD_DIR SECONDS
# SECONDS is shared between the targets. New inputs go to a working corpus in
# BUILD_DIR, so the seed corpus in fuzz/corpus stays as committed; a crashing
# input is written to BUILD_DIR/findings and the script fails.
set -euo pipefail
build=${1:?usage: scripts/fuzz.sh BUILD_DIR SECONDS}
seconds=${2:?usage: scripts/fuzz.sh BUILD_DIR SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
targets=(translate_fuzzer tokenize_fuzzer fast_paths_fuzzer check_fuzzer compiler_fuzzer lsp_fuzzer)
share=$((seconds / ${#targets[@]}))
((share > 0)) || share=1

mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  log="$build/$target.log"
  mkdir -p "$corpus"
  echo "== $target for ${share}s (log: $log)"
  # -rss_limit_mb makes a runaway allocation a finding instead of a stall;
  # -max_len allows lines longer than the reader's usual ones.
  status=0
  # The language server reads protocol sessions, the others sources.
  seeds=$root/fuzz/corpus dict=$root/fuzz/zemuc.dict
  if [[ $target == lsp_fuzzer ]]; then
    seeds=$root/fuzz/lsp_corpus dict=$root/fuzz/lsp.dict
  fi
  "$build/$target" "$corpus" "$seeds" \
    -dict="$dict" \
    -max_total_time="$share" \
    -max_len=4096 \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/$target-" \
    -print_final_stats=1 >"$log" 2>&1 || status=$?
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done' "$log" || true
  if ((status != 0)); then
    tail -n 40 "$log" >&2
    echo "$target: finding, see $build/findings" >&2
    exit 1
  fi
done
