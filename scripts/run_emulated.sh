#!/bin/sh
# Runs a cross-built test program under its emulator:
#   run_emulated.sh LOADER PROGRAM [ARGUMENT...]
# Under wine a run has been seen to end at once with a failing status and no
# output at all, before the program ran. No test program ends that way:
# GoogleTest and the C tests say why they fail. Such a run is tried again, at
# most twice; the output is held until the run ends, so that it can tell.
out=$(mktemp) || exit 1
err=$(mktemp) || {
  rm -f "$out"
  exit 1
}
trap 'rm -f "$out" "$err"' EXIT
attempt=1
while :; do
  "$@" >"$out" 2>"$err"
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ] || [ "$attempt" -eq 3 ]; then
    break
  fi
  echo "attempt $attempt of 3: exit status $status with no output" >&2
  attempt=$((attempt + 1))
done
cat "$out"
cat "$err" >&2
exit "$status"
