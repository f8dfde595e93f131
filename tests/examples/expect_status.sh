#!/usr/bin/env bash
# Runs a command and passes only when it ends with the given exit status.
# Usage: expect_status.sh STATUS COMMAND [ARG...]
want=$1
shift
"$@"
got=$?
if ((got != want)); then
  echo "FAIL: exit status $got, expected $want"
  exit 1
fi
exit 0
