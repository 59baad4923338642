#!/usr/bin/env bash
# Makes the release archives in dist/:
#   orvjson-VERSION-win32.zip            the 32-bit DLL for Windows hosts
#   orvjson-VERSION-linux-x86_64.tar.gz  the Linux build, as make install lays it
#   the Debian package
# Each archive holds its files in sorted order with one fixed time stamp, and
# the PE files carry no link time, so building twice gives the same bytes.
# Usage: scripts/dist.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR OUT_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=$1
windows_build=$2
out=$3
mingw=i686-w64-mingw32

version=$(sed -n 's/^project(OrvJson VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The time of the last commit, so that the same sources give the same archive.
epoch=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
# strip stamps the PE files it writes with this time instead of the clock.
export SOURCE_DATE_EPOCH=$epoch
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$out"

# --- Windows ---------------------------------------------------------------
win="$stage/orvjson-$version-win32"
mkdir -p "$win/bin" "$win/include" "$win/lib" "$win/docs" "$win/licenses"
for file in orvjson.dll orvjson.exe; do
  "$mingw-strip" --strip-unneeded -o "$win/bin/$file" "$windows_build/bin/$file"
done
# Every DLL the two import that Windows does not bring, and theirs in turn.
search=("$(dirname "$("$mingw-g++-posix" -print-libgcc-file-name)")" "/usr/$mingw/lib")
pending=("$win/bin/orvjson.dll" "$win/bin/orvjson.exe")
while [[ ${#pending[@]} -gt 0 ]]; do
  file=${pending[0]}
  pending=("${pending[@]:1}")
  for dll in $("$mingw-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    [[ -e "$win/bin/$dll" ]] && continue
    for dir in "${search[@]}"; do
      if [[ -e "$dir/$dll" ]]; then
        # The toolchain's DLLs carry their debug information (20 MB for
        # libstdc++); what a host ships needs none of it.
        "$mingw-strip" --strip-debug -o "$win/bin/$dll" "$dir/$dll"
        pending+=("$win/bin/$dll")
        break
      fi
    done
  done
done
cp include/OrvJson.h "$win/include/"
cp "$windows_build/liborvjson.dll.a" "$win/lib/"
cp "$windows_build/orvjson.def" "$win/lib/"
cp docs/windows.md "$win/README.md"
cp docs/reference.md "$win/docs/"
mkdir -p "$win/share/orvjson"
cp examples/sample.json "$win/share/orvjson/"  # what the tool shows without a FILE
cp LICENSE "$win/"
cp /usr/share/doc/rapidjson-dev/copyright "$win/licenses/rapidjson.txt"
cp /usr/share/doc/libfast-float-dev/copyright "$win/licenses/fast_float.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$win/licenses/gcc-runtime-libstdc++-libgcc.txt"
cp /usr/share/doc/mingw-w64-i686-dev/copyright "$win/licenses/mingw-w64-runtime-winpthreads.txt"

# --- Linux -----------------------------------------------------------------
linux="$stage/orvjson-$version-linux-x86_64"
cmake --install "$linux_build" --prefix "$linux" --strip > /dev/null
cp LICENSE "$linux/"
(cd "$linux_build" && cpack -G DEB > /dev/null)
cp "$linux_build"/*.deb "$out/"

python3 scripts/pack.py "$epoch" "$win" "$out/orvjson-$version-win32.zip"
python3 scripts/pack.py "$epoch" "$linux" "$out/orvjson-$version-linux-x86_64.tar.gz"
ls -l "$out"
