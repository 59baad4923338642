#!/usr/bin/env bash
# Checks each Windows archive as host developers would use it: unpacked into
# an empty folder, four hosts built from its contents alone, each run under
# wine with a fresh prefix and no WINEPATH, so that only the DLLs in the
# archive can be found:
#   1. a C host built by MinGW gcc, found through find_package(OrvJson);
#   2. a C host built for the MSVC ABI (clang --target=*-windows-msvc) and
#      linked by lld-link, MSVC's linker, against the archive's orvjson.lib,
#      beside the one-file DLL of bin/static-runtime;
#   3. a C++ host through the C++ layer (orvjson.hpp), its C++ runtime linked
#      statically (-static-libstdc++ -static-libgcc), beside that DLL too
#      (and the archive's winpthreads DLL, which MinGW's threads need);
#   4. a C++ host of the DLL's own toolchain through OrvJson.h, beside
#      bin/orvjson.dll and its runtime DLLs.
# One line per check; the first that fails says why and stops.
# Usage: scripts/check-dist.sh DIST_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
dist=$1
version=$(sed -n 's/^project(OrvJson VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
work=$(mktemp -d)
unset WINEPATH
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'rm -rf "$work"' EXIT

fail() {
  echo "check-dist: FAILED: $*" >&2
  exit 1
}
ok() { echo "check-dist: ok: $*"; }

# runs BITS: whether this kernel runs BITS-bit programs, asked once a width;
# loaders[BITS] is then the wine loader for them, or empty. Where it does
# not run them, each archive is still built against and checked, only its
# hosts not run.
declare -A loaders=()
runs() {
  if [[ ! -v "loaders[$1]" ]]; then
    local status=0 loader=""
    loader=$(scripts/wine-loader.sh "$1" 2> /dev/null) || status=$?
    [[ $status == 0 || $status == 3 ]] || fail "wine is not installed for $1-bit programs"
    loaders[$1]=$loader
  fi
  [[ -n ${loaders[$1]} ]]
}

# run_fresh BITS FOLDER PROGRAM [ARGS...]: runs PROGRAM (in FOLDER) under a
# wine prefix made for this run alone; its output goes to $work/out.txt.
# Runs nothing, and succeeds, where the kernel runs no BITS-bit programs;
# printed and ok_ran then skip and say so.
run_fresh() {
  local bits=$1 folder=$2
  shift 2
  runs "$bits" || return 0
  local loader=${loaders[$bits]} prefix
  prefix=$(mktemp -d "$work/prefix-XXXX")
  rmdir "$prefix"  # wineboot makes it: an empty folder would be taken for a prefix of the default kind
  local env=(WINEPREFIX="$prefix" WINEARCH="win$bits")
  [[ $bits == 64 ]] && env+=(WINELOADER="$loader")
  env "${env[@]}" "$loader" wineboot --init > /dev/null 2>&1 || fail "wine does not start a fresh $bits-bit prefix"
  local status=0
  # Through the test programs' runner, which tries again a run that wine
  # ended before it started.
  local runner="$PWD/scripts/run_emulated.sh"
  (cd "$folder" && env "${env[@]}" sh "$runner" "$loader" "$@" > "$work/out.txt" 2>&1) || status=$?
  env "${env[@]}" wineserver -k 2> /dev/null || true
  return $status
}

# printed TEXT: whether the last run printed TEXT (true when nothing ran).
printed() { ! runs "$bits" || grep -q "$1" "$work/out.txt"; }
ok_ran() {
  if runs "$bits"; then ok "$@"; else ok "$* (built, not run: this kernel runs no $bits-bit programs)"; fi
}

# check_archive BITS
check_archive() {
  local bits=$1 mingw target machine
  if [[ $bits == 64 ]]; then
    mingw=x86_64-w64-mingw32 target=x86_64-pc-windows-msvc machine=i386:x86-64
  else
    mingw=i686-w64-mingw32 target=i686-pc-windows-msvc machine=i386
  fi
  local zip="$dist/orvjson-$version-win$bits.zip" root="$work/orvjson-$version-win$bits"
  [[ -f "$zip" ]] || fail "$zip does not exist; run make dist"
  python3 -m zipfile -e "$zip" "$work" || fail "$zip does not unpack"
  local file
  for file in bin/orvjson.dll bin/static-runtime/orvjson.dll bin/orvjson.exe include/OrvJson.h include/orvjson_c.h include/orvjson.hpp \
    lib/liborvjson.dll.a lib/orvjson.lib lib/orvjson.def lib/cmake/OrvJson/OrvJsonConfig.cmake README.md LICENSE \
    docs/reference.md SHA256SUMS; do
    [[ -f "$root/$file" ]] || fail "the win$bits archive has no $file"
  done
  (cd "$root" && sha256sum --quiet -c SHA256SUMS) || fail "a file of the win$bits archive does not match SHA256SUMS"
  ok "win$bits: the archive holds the DLL, the tool, the three headers, both import libraries, the .def, the" \
    "CMake package, README, LICENSE, reference, and every file matches SHA256SUMS"

  # Everything the DLL and the tool import is in bin/, or part of Windows.
  local dll
  for file in "$root"/bin/*.dll "$root"/bin/orvjson.exe; do
    for dll in $("$mingw-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
      case "${dll,,}" in
        kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | ntdll.dll) ;;
        *) [[ -f "$root/bin/$dll" ]] || fail "$(basename "$file") imports $dll, which the win$bits archive lacks" ;;
      esac
    done
  done
  for dll in $("$mingw-objdump" -p "$root/bin/static-runtime/orvjson.dll" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    case "${dll,,}" in
      kernel32.dll | msvcrt.dll | advapi32.dll) ;;
      *) fail "win$bits: bin/static-runtime/orvjson.dll imports $dll, which is not part of Windows" ;;
    esac
  done
  ok "win$bits: every DLL the DLLs and the tool import is in bin/ or part of Windows;" \
    "bin/static-runtime/orvjson.dll needs nothing else"

  # 1. A C host of MinGW gcc, through the archive's CMake package.
  local project="$work/c-host-$bits"
  mkdir -p "$project"
  cp examples/c_host/host.c "$project/"
  cat > "$project/CMakeLists.txt" << 'CMAKE'
cmake_minimum_required(VERSION 3.21)
project(CHost LANGUAGES C)
find_package(OrvJson CONFIG REQUIRED)
add_executable(c_host host.c)
target_link_libraries(c_host PRIVATE OrvJson::orvjson)
CMAKE
  cmake -S "$project" -B "$project/build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw$bits.cmake" \
    -DOrvJson_DIR="$root/lib/cmake/OrvJson" > "$work/cmake.txt" 2>&1 &&
    cmake --build "$project/build" > "$work/cmake.txt" 2>&1 ||
    fail "win$bits: the C host does not build through find_package(OrvJson): $(tail -n 5 "$work/cmake.txt")"
  cp "$project/build/c_host.exe" "$root/bin/"
  run_fresh "$bits" "$root/bin" c_host.exe c-host.json || fail "win$bits: the MinGW C host fails: $(cat "$work/out.txt")"
  printed "saved and loaded c-host.json" || fail "win$bits: the MinGW C host printed: $(cat "$work/out.txt")"
  ok_ran "win$bits: a C host built by $mingw-gcc through find_package(OrvJson) runs"

  # 2. A C host of the MSVC ABI, linked by lld-link against orvjson.lib alone
  # (and the kernel32 import library a freestanding host needs).
  if [[ $bits == 64 ]]; then
    printf 'LIBRARY kernel32.dll\nEXPORTS\nGetStdHandle\nWriteFile\nExitProcess\n' > "$work/kernel32.def"
    llvm-dlltool -m "$machine" -d "$work/kernel32.def" -l "$work/kernel32.lib"
  else
    printf 'LIBRARY kernel32.dll\nEXPORTS\nGetStdHandle@4\nWriteFile@20\nExitProcess@4\n' > "$work/kernel32.def"
    llvm-dlltool -m "$machine" -k -d "$work/kernel32.def" -l "$work/kernel32.lib"
  fi
  clang --target="$target" -ffreestanding -O1 -I"$root/include" -c examples/c_host/freestanding.c \
    -o "$work/freestanding.obj" &&
    lld-link /nologo /subsystem:console /entry:mainCRTStartup /nodefaultlib "$work/freestanding.obj" \
      "$root/lib/orvjson.lib" "$work/kernel32.lib" /out:"$root/bin/static-runtime/msvc_host.exe" ||
    fail "win$bits: the MSVC-ABI C host does not build against orvjson.lib"
  run_fresh "$bits" "$root/bin/static-runtime" msvc_host.exe || fail "win$bits: the MSVC-ABI C host fails: $(cat "$work/out.txt")"
  printed '{"answer":42}' || fail "win$bits: the MSVC-ABI C host printed: $(cat "$work/out.txt")"
  ok_ran "win$bits: a C host built by clang for $target and linked by lld-link against orvjson.lib runs"

  # 3. The C++ example host, unchanged, through the C++ layer: its OrvJson.h
  # is the layer, and its C++ runtime is its own.
  mkdir -p "$work/layer-include-$bits"
  echo '#include <orvjson.hpp>' > "$work/layer-include-$bits/OrvJson.h"
  cat > "$work/throws.cpp" << 'CPP'
#include <cstdio>
#include <stdexcept>
#include <vector>
#include <OrvJson.h>
// A vector too long for a document: std::length_error, thrown where the
// host can catch it, whatever runtime the host has.
int main() {
  long h = Create();
  std::vector<unsigned char> bytes(sizeof(void*) == 4 ? std::size_t{1} << 27 : 0);
  try {
    if (sizeof(void*) == 4) SetValue(h, "k", bytes);
    else throw std::length_error("64-bit: no vector fits in memory and beyond the limit");
  } catch (const std::length_error&) {
    std::puts("caught std::length_error");
    return Release(h) == 0 ? 0 : 1;
  }
  return 1;
}
CPP
  local static="$work/layer-host-$bits"
  mkdir -p "$static"
  cp "$root/bin/static-runtime/orvjson.dll" "$root/bin/libwinpthread-1.dll" "$static/"
  "$mingw-g++-posix" -std=c++17 -I"$work/layer-include-$bits" -I"$root/include" examples/host/host.cpp \
    -static-libstdc++ -static-libgcc -L"$root/lib" -lorvjson -o "$static/layer_host.exe" &&
    "$mingw-g++-posix" -std=c++17 -I"$work/layer-include-$bits" -I"$root/include" "$work/throws.cpp" \
      -static-libstdc++ -static-libgcc -L"$root/lib" -lorvjson -o "$static/layer_throws.exe" ||
    fail "win$bits: examples/host does not build through orvjson.hpp with a static C++ runtime"
  "$mingw-objdump" -p "$static/layer_host.exe" | grep -qi "DLL Name: libstdc++" &&
    fail "win$bits: the layer host was to have its own static C++ runtime"
  run_fresh "$bits" "$static" layer_host.exe layer-host.json ||
    fail "win$bits: the C++ host through orvjson.hpp fails: $(cat "$work/out.txt")"
  printed "saved and loaded" || fail "win$bits: the layer host printed: $(cat "$work/out.txt")"
  run_fresh "$bits" "$static" layer_throws.exe || fail "win$bits: an exception is lost: $(cat "$work/out.txt")"
  ok_ran "win$bits: examples/host, unchanged, runs through orvjson.hpp with a static C++ runtime; exceptions reach it"

  # 4. The same host through OrvJson.h: the DLL's toolchain, its runtime shared.
  "$mingw-g++-posix" -std=c++17 -I"$root/include" examples/host/host.cpp -L"$root/lib" -lorvjson \
    -o "$root/bin/host.exe" || fail "win$bits: examples/host does not build from the archive's header"
  run_fresh "$bits" "$root/bin" host.exe host-output.json ||
    fail "win$bits: host.exe does not run beside the archive's DLLs: $(cat "$work/out.txt")"
  printed "saved and loaded" || fail "win$bits: host.exe printed: $(cat "$work/out.txt")"
  ok_ran "win$bits: examples/host built by $mingw-g++-posix through OrvJson.h runs with the archive's runtime DLLs"

  run_fresh "$bits" "$root/bin" orvjson.exe --version || fail "win$bits: orvjson.exe --version does not run"
  local tool_version="orvjson $version"
  if runs "$bits"; then
    tool_version=$(tr -d '\r' < "$work/out.txt")
    [[ "$tool_version" == "orvjson $version" ]] || fail "orvjson.exe --version says '$tool_version', not 'orvjson $version'"
  fi
  ok_ran "win$bits: orvjson.exe --version says $tool_version"

  for file in orvjson.dll static-runtime/orvjson.dll; do
    scripts/check-exports.sh "$root/bin/$file" "$mingw-" > /dev/null || fail "win$bits: bin/$file's export table is wrong"
  done
  local cpp_exports c_exports
  cpp_exports=$(wc -l < tests/exports.txt)
  c_exports=$(grep -c 'ORVJSON_CALL orvjson_' include/orvjson_c.h)
  [[ $(grep -c '^ *_Z' "$root/lib/orvjson.def") -eq $cpp_exports &&
    $(grep -c '^ *orvjson_' "$root/lib/orvjson.def") -eq $c_exports ]] ||
    fail "win$bits: orvjson.def does not list the $cpp_exports C++ and $c_exports C exports"
  ok "win$bits: orvjson.dll and orvjson.def export exactly the $cpp_exports C++ and $c_exports C functions"

  for file in orvjson.dll static-runtime/orvjson.dll orvjson.exe; do
    resource=$(python3 scripts/pe_version.py "$root/bin/$file") || fail "$file has no version resource"
    for expected in "FileVersion=$version" "ProductVersion=$version" "FIXED_FILE=$version.0" \
      "OriginalFilename=$(basename "$file")" "ProductName=OrvJson"; do
      grep -qx "$expected" <<< "$resource" || fail "win$bits: $file's version resource lacks $expected: $resource"
    done
  done
  ok "win$bits: the version resources of both DLLs and orvjson.exe say $version"
  echo "check-dist: $(basename "$zip") ($(stat -c %s "$zip") bytes) passed every check;" \
    "orvjson.dll is $(stat -c %s "$root/bin/orvjson.dll") bytes"
}

check_archive 32
check_archive 64
