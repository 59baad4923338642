#!/usr/bin/env bash
# Checks the Windows archive as a host developer would use it: unpacked into
# an empty folder, a host built from its contents alone and run under wine
# with a fresh prefix and no WINEPATH, so that only the DLLs in the archive
# can be found. One line per check; the first that fails says why and stops.
# Usage: scripts/check-dist.sh DIST_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
dist=$1
mingw=i686-w64-mingw32
version=$(sed -n 's/^project(OrvJson VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip="$dist/orvjson-$version-win32.zip"
work=$(mktemp -d)
export WINEPREFIX="$work/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
trap 'wineserver --kill 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
  echo "check-dist: FAILED: $*" >&2
  exit 1
}
ok() { echo "check-dist: ok: $*"; }

[[ -f "$zip" ]] || fail "$zip does not exist; run make dist"
python3 -m zipfile -e "$zip" "$work" || fail "$zip does not unpack"
root="$work/orvjson-$version-win32"
for file in bin/orvjson.dll bin/orvjson.exe include/OrvJson.h lib/liborvjson.dll.a lib/orvjson.def \
  README.md LICENSE docs/reference.md; do
  [[ -f "$root/$file" ]] || fail "the archive has no $file"
done
ok "the archive holds the DLL, the tool, the header, the import library, the .def, README, LICENSE, reference"

# Everything the DLL and the tool import is in bin/, or part of Windows.
for file in "$root"/bin/*.dll "$root"/bin/orvjson.exe; do
  for dll in $("$mingw-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    case "${dll,,}" in
      kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | ntdll.dll) ;;
      *) [[ -f "$root/bin/$dll" ]] || fail "$(basename "$file") imports $dll, which the archive lacks" ;;
    esac
  done
done
ok "every DLL the DLL and the tool import is in bin/ or part of Windows"

"$mingw-g++-posix" -std=c++17 -I"$root/include" examples/host/host.cpp -L"$root/lib" -lorvjson \
  -o "$root/bin/host.exe" || fail "examples/host does not build from the archive's header and import library"
cat > "$work/throws.cpp" <<'CPP'
#include <cstdio>
#include <stdexcept>
#include <vector>
#include <OrvJson.h>
// A vector too long for the 32-bit DLL: the library throws std::length_error,
// which must reach this host through the shared runtime.
int main() {
  long h = Create();
  std::vector<unsigned char> bytes(std::size_t{1} << 27);
  try {
    SetValue(h, "k", bytes);
  } catch (const std::length_error&) {
    std::puts("caught std::length_error");
    return Release(h) == 0 ? 0 : 1;
  }
  return 1;
}
CPP
"$mingw-g++-posix" -std=c++17 -I"$root/include" "$work/throws.cpp" -L"$root/lib" -lorvjson \
  -o "$root/bin/throws.exe" || fail "a host that catches the library's exceptions does not build"
ok "examples/host builds with $mingw-g++-posix from the archive alone"

# One server for every run below: one that exits between two runs races the next.
mkdir -p "$WINEPREFIX"
wineserver -p && wineboot --init > /dev/null 2>&1 || fail "wine does not start a fresh prefix"
(cd "$root/bin" && wine host.exe host-output.json > "$work/host.txt" 2>&1) ||
  fail "host.exe does not run beside the archive's DLLs: $(tail -n 3 "$work/host.txt")"
grep -q "saved and loaded" "$work/host.txt" || fail "host.exe printed: $(cat "$work/host.txt")"
ok "host.exe runs under wine with a fresh prefix and no WINEPATH"
(cd "$root/bin" && wine throws.exe > "$work/throws.txt" 2>&1) ||
  fail "an exception thrown in the DLL does not reach the host: $(cat "$work/throws.txt")"
ok "std::length_error thrown in orvjson.dll is caught in the host"

tool_version=$(cd "$root/bin" && wine orvjson.exe --version | tr -d '\r') || fail "orvjson.exe --version does not run"
[[ "$tool_version" == "orvjson $version" ]] || fail "orvjson.exe --version says '$tool_version', not 'orvjson $version'"
ok "orvjson.exe --version says $tool_version"

scripts/check-exports.sh "$root/bin/orvjson.dll" "$mingw-" > /dev/null || fail "orvjson.dll's export table is wrong"
[[ $(grep -c '^ *_Z' "$root/lib/orvjson.def") -eq $(wc -l < tests/exports.txt) ]] ||
  fail "orvjson.def does not list the $(wc -l < tests/exports.txt) exports"
ok "orvjson.dll and orvjson.def export exactly the $(wc -l < tests/exports.txt) OrvJson functions"

for file in orvjson.dll orvjson.exe; do
  resource=$(python3 scripts/pe_version.py "$root/bin/$file") || fail "$file has no version resource"
  for expected in "FileVersion=$version" "ProductVersion=$version" "FIXED_FILE=$version.0" "OriginalFilename=$file" \
    "ProductName=OrvJson"; do
    grep -qx "$expected" <<< "$resource" || fail "$file's version resource lacks $expected: $resource"
  done
done
ok "the version resources of orvjson.dll and orvjson.exe say $version, as orvjson --version does"
echo "check-dist: $(basename "$zip") ($(stat -c %s "$zip") bytes) passed every check;" \
  "orvjson.dll is $(stat -c %s "$root/bin/orvjson.dll") bytes"
