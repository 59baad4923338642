#!/usr/bin/env bash
# Prints the wine loader that runs BITS-bit Windows programs on this machine.
# The 64-bit loader is called directly: Debian's `wine` front script always
# starts the 32-bit loader first, and a kernel without 32-bit support (its
# IA-32 emulation switched off) cannot start that even for a 64-bit program.
# Exits 3, saying why, when this kernel cannot run the loader at all, so
# that callers can build everything and skip only the runs; 1 when wine is
# not installed.
# Usage: scripts/wine-loader.sh 32|64
set -euo pipefail
case ${1:-} in
  32) loader=/usr/lib/wine/wine ;;
  64) loader=/usr/lib/wine/wine64 ;;
  *)
    echo "usage: $0 32|64" >&2
    exit 2
    ;;
esac
if [[ ! -x $loader ]]; then
  echo "wine-loader: $loader is missing; scripts/deps.sh windows installs it" >&2
  exit 1
fi
if ! "$loader" --version > /dev/null 2>&1; then
  echo "wine-loader: this kernel cannot start $loader: it runs no $1-bit programs" >&2
  exit 3
fi
echo "$loader"
