#!/usr/bin/env bash
# Makes the release archives in OUT_DIR:
#   orvjson-VERSION-win32.zip            the 32-bit DLL for Windows hosts
#   orvjson-VERSION-win64.zip            the 64-bit DLL for Windows hosts
#   orvjson-VERSION-linux-x86_64.tar.gz  the Linux build, as make install lays it
#   the Debian package
# Each archive holds its files in sorted order with one fixed time stamp, and
# the PE files carry no link time, so building twice gives the same bytes.
# Usage: scripts/dist.sh LINUX_BUILD_DIR WIN32_BUILD_DIR WIN64_BUILD_DIR OUT_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=$1
win32_build=$2
win64_build=$3
out=$4

version=$(sed -n 's/^project(OrvJson VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The time of the last commit, so that the same sources give the same
# archive; a copy of the sources without their history is given it.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
# strip stamps the PE files it writes with this time instead of the clock.
export SOURCE_DATE_EPOCH=$epoch
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$out"

# windows_archive BITS BUILD_DIR
windows_archive() {
  local bits=$1 build=$2 mingw machine runtime_license
  if [[ $bits == 64 ]]; then
    mingw=x86_64-w64-mingw32 machine=i386:x86-64 runtime_license=mingw-w64-x86-64-dev
  else
    mingw=i686-w64-mingw32 machine=i386 runtime_license=mingw-w64-i686-dev
  fi
  local win="$stage/orvjson-$version-win$bits"
  mkdir -p "$win/bin/static-runtime" "$win/include" "$win/lib/cmake/OrvJson" "$win/docs" "$win/examples" \
    "$win/licenses"
  for file in orvjson.dll orvjson.exe static-runtime/orvjson.dll; do
    "$mingw-strip" --strip-unneeded -o "$win/bin/$file" "$build/bin/$file"
  done
  # Every DLL the two import that Windows does not bring, and theirs in turn.
  local search=("$(dirname "$("$mingw-g++-posix" -print-libgcc-file-name)")" "/usr/$mingw/lib")
  local pending=("$win/bin/orvjson.dll" "$win/bin/orvjson.exe") file dll dir
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
  cp include/OrvJson.h include/OrvJsonTypes.h include/orvjson_c.h include/orvjson.hpp "$win/include/"
  cp "$build/liborvjson.dll.a" "$build/orvjson.def" "$win/lib/"
  # The import library of MSVC's linker (and lld-link, clang-cl's), from the
  # export list: MinGW's .dll.a is for MinGW's linker.
  llvm-dlltool -m "$machine" -d "$win/lib/orvjson.def" -D orvjson.dll -l "$win/lib/orvjson.lib"
  cmake -DVERSION="$version" -DBITS="$bits" -DOUT="$win/lib/cmake/OrvJson" -P scripts/windows_package.cmake
  cp docs/windows.md "$win/README.md"
  cp docs/reference.md "$win/docs/"
  cp examples/host/host.cpp "$win/examples/host.cpp"
  cp examples/c_host/host.c "$win/examples/host.c"
  cp examples/c_host/freestanding.c "$win/examples/freestanding.c"
  cp examples/python/orvjson.py "$win/examples/orvjson.py"
  mkdir -p "$win/share/orvjson"
  cp examples/sample.json "$win/share/orvjson/"  # what the tool shows without a FILE
  cp LICENSE "$win/"
  cp /usr/share/doc/rapidjson-dev/copyright "$win/licenses/rapidjson.txt"
  cp /usr/share/doc/libfast-float-dev/copyright "$win/licenses/fast_float.txt"
  cp /usr/share/doc/gcc-mingw-w64-base/copyright "$win/licenses/gcc-runtime-libstdc++-libgcc.txt"
  cp "/usr/share/doc/$runtime_license/copyright" "$win/licenses/mingw-w64-runtime-winpthreads.txt"
  # What a downloader checks the files against.
  (cd "$win" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs sha256sum > SHA256SUMS)
  python3 scripts/pack.py "$epoch" "$win" "$out/orvjson-$version-win$bits.zip"
}

windows_archive 32 "$win32_build"
windows_archive 64 "$win64_build"

# --- Linux -----------------------------------------------------------------
linux="$stage/orvjson-$version-linux-x86_64"
cmake --install "$linux_build" --prefix "$linux" --strip > /dev/null
cp LICENSE "$linux/"
(cd "$linux_build" && cpack -G DEB > /dev/null)
cp "$linux_build"/*.deb "$out/"
python3 scripts/pack.py "$epoch" "$linux" "$out/orvjson-$version-linux-x86_64.tar.gz"
ls -l "$out"
