#!/usr/bin/env bash
# Fails unless a built library exports exactly the 51 OrvJson functions with
# their exact parameter types (tests/exports.txt) and the functions of the C
# interface (every one include/orvjson_c.h declares), and nothing else beyond
# the symbols the toolchain adds itself.
# Usage: scripts/check-exports.sh liborvjson.so
#        scripts/check-exports.sh orvjson.dll i686-w64-mingw32-
set -euo pipefail
library=$1
prefix=${2:-}
root="$(dirname "$0")/.."
expected=$(cat "$root/tests/exports.txt"; grep -o 'ORVJSON_CALL orvjson_[a-z0-9_]*' "$root/include/orvjson_c.h" | cut -d' ' -f2)

case "$library" in
  *.dll)
    # The export table lists one "[ordinal] name" line per export.
    names=$("${prefix}objdump" -p "$library" |
      sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
      sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p')
    ;;
  *)
    names=$("${prefix}nm" -D --defined-only --format=posix "$library" | awk '{print $1}' |
      grep -v -x -E '_init|_fini|_edata|_end|__bss_start')
    ;;
esac

actual=$(printf '%s\n' "$names" | "${prefix}c++filt" --no-strip-underscore |
  sed -e 's/\[abi:cxx11\]//g' \
      -e 's/std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >/std::string/g' \
      -e 's/, std::allocator<[^<>]*> >/>/g' | LC_ALL=C sort)

if ! difference=$(diff <(printf '%s\n' "$expected" | LC_ALL=C sort) <(printf '%s\n' "$actual")); then
  echo "check-exports: $library does not export exactly the OrvJson functions (< missing, > extra):" >&2
  echo "$difference" >&2
  exit 1
fi
echo "check-exports: $library exports exactly the $(printf '%s\n' "$expected" | wc -l) OrvJson functions (C++ and C)"
