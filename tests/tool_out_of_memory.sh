#!/usr/bin/env bash
# The tool given a file larger than the memory it may use: one line on
# standard error and exit status 1, as for any file it cannot load.
# Usage: tool_out_of_memory.sh TOOL WORK_FOLDER
set -u
tool=$1
big="$2/larger-than-memory.json"
truncate -s 300M "$big"
err=$( (ulimit -v 200000; exec "$tool" compact "$big") 2>&1 >/dev/null)
status=$?
rm -f "$big"
if [[ $status -ne 1 || "$err" != "orvjson: out of memory" ]]; then
  echo "exit status $status, standard error: $err" >&2
  exit 1
fi
