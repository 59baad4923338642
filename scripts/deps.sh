#!/usr/bin/env bash
# Installs the Debian packages a make target needs. As root it installs what
# is missing, waiting for another apt to finish; otherwise it prints the one
# line to run and fails: with sudo where sudo exists, else to run as root
# (a minimal Debian has no sudo).
# Usage: scripts/deps.sh GROUP...   (groups: build, test, lint, package, dist, bench, windows)
set -euo pipefail

packages_for() {
  case "$1" in
    build) echo "cmake make g++ rapidjson-dev libfast-float-dev" ;;
    test) echo "cmake make g++ rapidjson-dev libfast-float-dev libgtest-dev googletest clang libclang-rt-14-dev libc++-dev libc++abi-dev python3" ;;
    lint) echo "clang-format clang-tidy" ;;
    package) echo "pkg-config dpkg-dev file python3" ;;
    dist) echo "pkg-config dpkg-dev file python3 clang lld llvm" ;;
    bench) echo "cmake make g++ rapidjson-dev libfast-float-dev libbenchmark-dev libsimdjson-dev python3" ;;
    windows) echo "cmake make rapidjson-dev libfast-float-dev googletest mingw-w64 wine wine32:i386 wine64" ;;
    *) echo "deps.sh: unknown group '$1'" >&2; exit 2 ;;
  esac
}

wanted=()
for group in "$@"; do
  for package in $(packages_for "$group"); do wanted+=("$package"); done
done

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    case " ${missing[*]-} " in *" $package "*) ;; *) missing+=("$package") ;; esac
  fi
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

# 32-bit packages (wine32:i386) need the i386 architecture first.
add_i386=false
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  add_i386=true
fi
# Another apt (an unattended upgrade) may hold the lock: wait for it.
apt=(apt-get -o DPkg::Lock::Timeout=600)

if [[ $(id -u) -ne 0 ]]; then
  line="${apt[*]} update && ${apt[*]} install -y ${missing[*]}"
  $add_i386 && line="dpkg --add-architecture i386 && $line"
  echo "Missing Debian packages. Run:" >&2
  if command -v sudo > /dev/null; then
    echo "  sudo sh -c '$line'" >&2
  else
    echo "  su -c '$line'" >&2
  fi
  exit 1
fi

echo "Installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$add_i386 && dpkg --add-architecture i386
"${apt[@]}" update -qq
"${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
