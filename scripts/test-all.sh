#!/usr/bin/env bash
# Installs what the tests need (Debian), builds, and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ libgtest-dev python3
          g++-mingw-w64-x86-64-posix wine wine64) # the Windows build, run under wine
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Every test required: a missing tool fails the run instead of skipping tests.
cmake -S . -B build -G Ninja -DWIFI_HOTSPOT_WERROR=ON -DWIFI_HOTSPOT_REQUIRE_TESTS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2
