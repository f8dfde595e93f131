#!/usr/bin/env bash
# scripts/ensure-tools.sh, where it may not install (not root, or no
# apt-get on PATH), names the packages of the missing tools and fails; with
# everything there it says nothing and passes.
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

status=0
out=$(bash "$ensure" nonsense 2>&1) || status=$?
[[ $status -eq 2 ]] || { echo "FAIL: a wrong profile gives status $status"; exit 1; }

# This machine has what building needs (it built this test).
out=$(bash "$ensure" build 2>&1) || { echo "FAIL: $out"; exit 1; }
[[ -z $out ]] || { echo "FAIL: said '$out' with nothing missing"; exit 1; }
echo "ok: missing tools are named, present ones pass quietly"
