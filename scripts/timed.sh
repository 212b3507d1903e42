#!/usr/bin/env bash
# Runs a command and says how long it took: "[ci] NAME: 123 s (exit 0)". The command's exit
# status is the script's. CI calls every step through it, so each step's time is in the log.
#   scripts/timed.sh NAME COMMAND [ARGUMENTS...]
set -uo pipefail
name=$1
shift
start=$SECONDS
"$@"
status=$?
echo "[ci] ${name}: $((SECONDS - start)) s (exit ${status})" >&2
exit "$status"
