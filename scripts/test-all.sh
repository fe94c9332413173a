#!/usr/bin/env bash
# Installs what the tests need (Debian; as root, or with sudo), builds, and
# runs the whole suite:
#  1. every test with g++: the POSIX build through dash and through bash as
#     /bin/sh, on a pseudo-terminal, and the .exe (MinGW-w64) under wine as a
#     Chinese Windows;
#  2. the POSIX tests again, built with clang under AddressSanitizer and
#     UndefinedBehaviorSanitizer;
#  3. lint: clang-format and clang-tidy.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ python3 util-linux
          g++-mingw-w64-x86-64-posix wine wine64            # the .exe, run under wine
          clang libclang-rt-14-dev clang-format clang-tidy) # sanitizers, lint
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "== installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

stage() { # NAME COMMAND...: runs one stage and says how long it took
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "== $name: done in $((SECONDS - start)) s"
}

required=(-G Ninja -DWIFI_HOTSPOT_WERROR=ON)

tests() { # BUILD_DIR CMAKE_OPTIONS...
  local dir=$1
  shift
  cmake -S . -B "$dir" "${required[@]}" "$@" >/dev/null
  cmake --build "$dir" | grep -v '^\[' || true
  ctest --test-dir "$dir" --output-on-failure -j2
}

stage "1. tests: dash and bash as /bin/sh, a terminal, the .exe under wine (g++, MinGW-w64)" tests build
sanitized() {
  CC=clang CXX=clang++ tests build-sanitize -DWIFI_HOTSPOT_SANITIZE=ON -DWIFI_HOTSPOT_WINDOWS_TESTS=OFF
}
stage "2. POSIX tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang)" sanitized
stage "3. lint: clang-format, clang-tidy" scripts/lint.sh build
