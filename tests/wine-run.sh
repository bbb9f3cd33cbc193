#!/usr/bin/env bash
# Runs a Windows test program under Wine. Now and then Wine loses a process while
# it is still setting it up: the program ends at once, without a byte of output and
# with a failing exit code. Every test program writes a first line as soon as it
# runs, so such a silent end is Wine's, not the program's, and the program is
# started again (at most three times in all). Anything else is passed on as it is.
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2 3; do
  wine "$@" >"$out" 2>"$err"
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ]; then break; fi
  echo "wine-run.sh: $1 ended with $status before writing anything (start $attempt of 3)" >&2
  sleep 1
done
cat "$out"
cat "$err" >&2
exit "$status"
