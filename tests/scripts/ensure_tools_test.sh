#!/usr/bin/env bash
# scripts/ensure-tools.sh, where it may not install (not root, or no
# apt-get on PATH), names the packages of the missing tools and fails; with
# everything there it says nothing and passes; a tool older than the
# project needs counts as missing.
# Usage: ensure_tools_test.sh ENSURE_TOOLS
set -euo pipefail
ensure=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A PATH with the shell's own tools and nothing of the build.
mkdir "$work/bin"
for tool in bash env id sort printf; do
  ln -s "$(command -v "$tool")" "$work/bin/$tool"
done
status=0
out=$(env PATH="$work/bin" bash "$ensure" build 2>&1) || status=$?
[[ $status -eq 1 ]] || { echo "FAIL: status $status, not 1: $out"; exit 1; }
for package in cmake ninja-build g++ gcc; do
  [[ $out == *"apt-get install"*" $package"* || $out == *"install $package"* ]] ||
    { echo "FAIL: $package not named: $out"; exit 1; }
done
[[ $out == "missing tools: install them with 'apt-get install "* ]] ||
  { echo "FAIL: no single line saying what to install: $out"; exit 1; }

# The browser profile names Debian's chromium.
status=0
out=$(env PATH="$work/bin" bash "$ensure" browser 2>&1) || status=$?
[[ $status -eq 1 && $out == *" chromium"* ]] ||
  { echo "FAIL: browser profile, status $status: $out"; exit 1; }

# Versions, not only names: a tool on PATH older than the project needs is
# not enough. PROFILE|TOOL|WHAT IT SAYS TO --version|SAID|NOT SAID
rows=(
  "browser|node|v18.20.4|node v18.20.4 is older than 20|"
  "browser|node|v20.0.0||older than"
  "build|cmake|cmake version 3.22.1|install cmake |"
  "build|cmake|cmake version 3.25.1||install cmake "
)
for row in "${rows[@]}"; do
  IFS='|' read -r profile tool says said unsaid <<<"$row"
  rm -rf "$work/fake" && mkdir "$work/fake"
  printf '#!/usr/bin/env bash\necho "%s"\n' "$says" >"$work/fake/$tool"
  chmod +x "$work/fake/$tool"
  out=$(env PATH="$work/fake:$work/bin" bash "$ensure" "$profile" 2>&1) || true
  [[ -z $said || $out == *"$said"* ]] && [[ -z $unsaid || $out != *"$unsaid"* ]] ||
    { echo "FAIL: $tool saying '$says': $out"; exit 1; }
done

status=0
out=$(bash "$ensure" nonsense 2>&1) || status=$?
[[ $status -eq 2 ]] || { echo "FAIL: a wrong profile gives status $status"; exit 1; }

# This machine has what building needs (it built this test).
out=$(bash "$ensure" build 2>&1) || { echo "FAIL: $out"; exit 1; }
[[ -z $out ]] || { echo "FAIL: said '$out' with nothing missing"; exit 1; }
echo "ok: missing tools are named, present ones pass quietly"
