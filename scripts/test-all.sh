#!/usr/bin/env bash
# Installs what the tests need (Debian), builds, and runs the whole suite:
#  1. the tests with g++, the Windows build among them (MinGW-w64, run under wine);
#  2. the same again built with clang under AddressSanitizer and
#     UndefinedBehaviorSanitizer, with the fuzzer's seed corpus replayed;
#  3. FUZZ_SECONDS (default 60) of fuzzing;
#  4. lint: clang-format and clang-tidy.
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds=${FUZZ_SECONDS:-60}

packages=(cmake ninja-build g++ libgtest-dev python3
          g++-mingw-w64-x86-64-posix wine wine64     # the Windows build, run under wine
          clang libclang-rt-14-dev clang-format clang-tidy) # sanitizers, fuzzer, lint
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
required=(-G Ninja -DWIFI_HOTSPOT_WERROR=ON -DWIFI_HOTSPOT_REQUIRE_TESTS=ON)

echo "== 1. tests (g++)"
cmake -S . -B build "${required[@]}"
cmake --build build
ctest --test-dir build --output-on-failure -j2

echo "== 2. tests again under AddressSanitizer and UndefinedBehaviorSanitizer (clang)"
CC=clang CXX=clang++ cmake -S . -B build-sanitize "${required[@]}" \
  -DWIFI_HOTSPOT_SANITIZE=ON -DWIFI_HOTSPOT_FUZZ=ON
cmake --build build-sanitize
ctest --test-dir build-sanitize --output-on-failure -j2

echo "== 3. fuzzing for ${fuzz_seconds} s"
findings=$(mktemp -d)
trap 'rm -rf "$findings"' EXIT
build-sanitize/tests/fuzz/hotspot_fuzz -max_total_time="$fuzz_seconds" -timeout=10 \
  -artifact_prefix=build-sanitize/ -print_final_stats=1 "$findings" fuzz/corpus 2>&1 | tail -15

echo "== 4. lint"
scripts/lint.sh build
