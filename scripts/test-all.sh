#!/usr/bin/env bash
# Installs what the tests need (Debian 12 and later, Ubuntu 22.04 and later:
# only packages all of them have; as root, or with sudo), builds, and runs the
# whole suite:
#  1. every test with clang: the command-line rules against what Windows
#     documents (GoogleTest), the POSIX build through dash and through bash as
#     /bin/sh, on a pseudo-terminal, and the Windows download (MinGW-w64),
#     unpacked, under wine as a Chinese Windows;
#  2. the POSIX tests again, built with g++ under AddressSanitizer and
#     UndefinedBehaviorSanitizer, whose runtimes come with g++ (beside stage 1);
#  3. lint: the readable texts against their bytes, clang-format, clang-tidy;
#  4. the Windows download built from two clones at different paths and
#     times, in two time zones, the first packaged again after a new commit in
#     its old build folder, unsigned and signed with a certificate made for the
#     test: the same bytes, and the same checksum files; the signature
#     verifies, and its password is in no file of either build (beside stage 1).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ clang python3 util-linux procps git libgtest-dev
          g++-mingw-w64-x86-64-posix wine wine64 locales # the .exe, run under wine
          clang-format clang-tidy                        # lint
          osslsigncode openssl tzdata)                   # the signed download, in two zones
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "== installing: ${missing[*]}"
  log=$(mktemp)
  { $sudo apt-get update && DEBIAN_FRONTEND=noninteractive \
      $sudo apt-get install -y --no-install-recommends "${missing[@]}"; } >"$log" 2>&1 || { cat "$log"; exit 1; }
  rm -f "$log"
fi
# wine takes code page 936 from the names zh_CN.GBK and zh_CN.UTF-8 alone,
# but its console talks to a terminal in the locale's encoding, which must
# exist: GBK for the table, UTF-8 for a terminal typing what GBK lacks.
for charset in GBK UTF-8; do
  if ! locale -a 2>/dev/null | grep -qix "zh_CN.${charset//-/}"; then
    echo "== making the locale zh_CN.$charset"
    $sudo localedef -i zh_CN -f "$charset" "zh_CN.$charset"
  fi
done

stage() { # NAME COMMAND...: runs one stage and says how long it took
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "== $name: passed in $((SECONDS - start)) s"
}

tests() { # BUILD_DIR CMAKE_OPTIONS...
  local dir=$1
  shift
  cmake -S . -B "$dir" -DBUILD_TESTING=ON -DWIFI_HOTSPOT_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" --parallel >/dev/null
  (cd "$dir" && ctest --output-on-failure -j4)
}

sanitized() {
  tests build-sanitize -DCMAKE_CXX_COMPILER=g++ -DWIFI_HOTSPOT_SANITIZE=ON -DWIFI_HOTSPOT_WINDOWS_TESTS=OFF
}

reproducible() {
  local tmp=$PWD/build/reproducible clones=() zones=(UTC Asia/Shanghai)
  rm -rf "$tmp"
  mkdir -p "$tmp"
  [ "$(TZ=Asia/Shanghai date +%z)" = +0800 ] || { echo "no time zone data"; return 1; }
  # A self-signed code-signing certificate, made anew; its password must reach no file of a build folder.
  export WIFI_HOTSPOT_SIGN_PASSWORD="test only $RANDOM$RANDOM"
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$tmp/key.pem" -out "$tmp/cert.pem" -days 2 \
    -subj "/CN=wifi-hotspot test signer" -addext extendedKeyUsage=codeSigning 2>/dev/null
  openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -out "$tmp/signer.pfx" \
    -passout env:WIFI_HOTSPOT_SIGN_PASSWORD
  local source=.
  for clone in "$tmp/a" "$tmp/b/at/another/path"; do
    local build=$clone/build-windows zone=${zones[${#clones[@]}]}
    git clone -q "$source" "$clone"
    cmake -S "$clone" -B "$build" -DBUILD_TESTING=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$clone/cmake/mingw-w64-x86_64.cmake" >/dev/null
    if [ "$source" = . ]; then # a: packaged, committed to, packaged again without configuring; b clones that commit
      TZ=$zone cmake --build "$build" --parallel --target all package >/dev/null
      GIT_COMMITTER_DATE=2030-01-01T00:00:00Z git -C "$clone" -c user.name=test -c user.email=test@example.invalid \
        commit -q --allow-empty -m "a later commit"
      source=$clone
    fi
    TZ=$zone cmake --build "$build" --parallel --target all package >/dev/null
    mkdir "$build/unsigned"
    mv "$build"/wifi-hotspot-*-win64.zip* "$build/unsigned"
    cmake "$build" -DWIFI_HOTSPOT_SIGN_PFX="$tmp/signer.pfx" >/dev/null
    TZ=$zone cmake --build "$build" --target package >/dev/null
    if grep -rqF "$WIFI_HOTSPOT_SIGN_PASSWORD" "$build"; then echo "the password is in $build"; return 1; fi
    clones+=("$build")
    sleep 1 # a second apart: no clock time may reach the bytes
  done
  local zip
  zip=$(basename "${clones[0]}"/wifi-hotspot-*-win64.zip)
  for file in wifi-hotspot.exe {unsigned/,}"$zip" {unsigned/,}"$zip.sha256"; do
    cmp "${clones[0]}/$file" "${clones[1]}/$file"
    echo "$file: the same $(wc -c <"${clones[0]}/$file") bytes in ${zones[*]}"
  done
  mkdir "$tmp/signed"
  cmake -E chdir "$tmp/signed" cmake -E tar xf "${clones[0]}/$zip"
  osslsigncode verify -CAfile "$tmp/cert.pem" -in "$tmp"/signed/*/wifi-hotspot.exe | grep -x "Signature verification: ok"
}

# Stages 2 and 4 need nothing of stage 1 and run beside it, their reports held
# back until their turn: the POSIX cases mostly wait out the refusal delays,
# and the builds fill the cores while the last slow Windows cases wait too.
# Each runs in a process group of its own (job control, set -m), so that
# however this script ends, a failed stage included, they end first, with all
# they started, and nothing of theirs goes on in the checkout.
held_runs=()
running() { # PGID: whether a process of the group still runs (an ended one, not yet reaped, does not)
  ps -e -o pgid= -o stat= | awk -v group="$1" '$1 == group && $2 !~ /^Z/ { found = 1 } END { exit !found }'
}
end_held() {
  local pid
  for pid in "${held_runs[@]}"; do
    kill -TERM -- "-$pid" 2>/dev/null || continue
    wait "$pid" 2>/dev/null || true
    while running "$pid"; do sleep 0.1; done
  done
}
trap end_held EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
held() { # LOG NAME COMMAND...: runs one stage in the background, its report to LOG
  local log=$1
  shift
  set -m
  stage "$@" >"$log" 2>&1 &
  set +m
  held_runs+=("$!")
}
report() { # PID LOG: waits for a held stage and shows its report; its failure fails the run
  wait "$1" || { cat "$2"; exit 1; }
  cat "$2"
}
mkdir -p build
held build/sanitized.log "2. POSIX tests under AddressSanitizer and UndefinedBehaviorSanitizer (g++)" sanitized
sanitized_run=$!
held build/reproducible.log "4. the Windows download from two clones, paths, times and zones: the same bytes" \
  reproducible
reproducible_run=$!
stage "1. tests: the rules, dash and bash as /bin/sh, a terminal, the unpacked .exe under wine (clang, MinGW-w64)" \
  tests build -DCMAKE_CXX_COMPILER=clang++ -DWIFI_HOTSPOT_WINDOWS_TESTS=ON
report "$sanitized_run" build/sanitized.log
stage "3. lint: the texts against their bytes, clang-format, clang-tidy" scripts/lint.sh build
report "$reproducible_run" build/reproducible.log
