#!/usr/bin/env bash
# Installs what the tests need (Debian 12 and later, Ubuntu 22.04 and later: only packages all of them have; as
# root, or with sudo), builds, and runs the whole suite in three stages side by side:
#  1. every test, built with clang: the command-line rules against what Windows documents (GoogleTest), the POSIX
#     build through dash and through bash as /bin/sh and on a pseudo-terminal, the Windows download (MinGW-w64)
#     unpacked and run under wine as a Chinese Windows, and the download's own promises (tests/release.sh);
#  2. the POSIX tests again, built with g++ under AddressSanitizer and UndefinedBehaviorSanitizer;
#  3. lint: the readable texts against their bytes, clang-format, clang-tidy.
# A failed stage fails the run, and ends the stages still running, with all they started.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ clang python3 util-linux git libgtest-dev
          g++-mingw-w64-x86-64-posix wine wine64 locales # the .exe, run under wine
          zip unzip osslsigncode softhsm2 libengine-pkcs11-openssl opensc tzdata # the download, signed in a token
          clang-format clang-tidy) # lint
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "== installing: ${missing[*]}"
  log=$(mktemp)
  { $sudo env DEBIAN_FRONTEND=noninteractive apt-get update &&
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"; } \
    >"$log" 2>&1 || { cat "$log"; exit 1; }
  rm -f "$log"
fi
# wine takes code page 936 from the names zh_CN.GBK and zh_CN.UTF-8 alone, but its console talks to a terminal in
# the locale's encoding, which must exist: GBK for the table, UTF-8 for a terminal typing what GBK lacks.
for charset in GBK UTF-8; do
  locale -a 2>/dev/null | grep -qix "zh_CN.${charset//-/}" || $sudo localedef -i zh_CN -f "$charset" "zh_CN.$charset"
done

tests() { # BUILD_DIR CMAKE_OPTIONS...
  cmake -S . -B "$1" -DBUILD_TESTING=ON -DWIFI_HOTSPOT_WERROR=ON "${@:2}" >/dev/null
  cmake --build "$1" --parallel >/dev/null
  (cd "$1" && ctest --output-on-failure -j8) # all at once: they mostly wait
}
lint() { # with the compile commands of a native build of its own
  cmake -S . -B build-lint -DBUILD_TESTING=OFF >/dev/null
  scripts/lint.sh build-lint
}
# Stages 2 and 3 run in the background, each in a process group of its own (set -m), their reports held back until
# stage 1 has passed; however this script ends, the groups end with it.
mkdir -p build
set -m
tests build-sanitize -DCMAKE_CXX_COMPILER=g++ -DWIFI_HOTSPOT_SANITIZE=ON -DWIFI_HOTSPOT_WINDOWS_TESTS=OFF \
  >build/sanitized.log 2>&1 &
stages=("$!:2. the POSIX tests under AddressSanitizer and UndefinedBehaviorSanitizer (g++):build/sanitized.log")
lint >build/lint.log 2>&1 &
stages+=("$!:3. lint:build/lint.log")
set +m
trap 'for s in "${stages[@]}"; do kill -- "-${s%%:*}" 2>/dev/null || true; done; wait' EXIT
echo "== 1. every test (clang), the .exe under wine, the download"
tests build -DCMAKE_CXX_COMPILER=clang++ -DWIFI_HOTSPOT_WINDOWS_TESTS=ON
for s in "${stages[@]}"; do
  IFS=: read -r pid name log <<<"$s"
  echo "== $name"
  wait "$pid" || { cat "$log"; echo "== $name: failed"; exit 1; }
  cat "$log"
done
