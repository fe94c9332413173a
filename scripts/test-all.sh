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
#  3. lint: the readable texts against their bytes, clang-format, clang-tidy
#     (beside stage 1);
#  4. the Windows download, built in a clone (packaged, committed to, packaged
#     again in its old build folder, where it leaves no signed zip of the
#     commit before), from that commit as `git archive` makes it, at another
#     path, time and zone, with the SOURCE_DATE_EPOCH the first's .buildinfo
#     names, and by nobody in a clone nobody owns: the same zip, checksum and
#     .buildinfo, and the same signed zip whether signed with a .pfx or with
#     the same key in a SoftHSM token; the signature verifies; a change in the
#     tree is marked in the .buildinfo; a wrong PIN, an ECDSA key (in a .pfx,
#     in the token), and git refusing the checkout of another user each stop
#     with their message and leave no signed zip anywhere in the build folder;
#     the PIN is refused as a -D option, and is in no file and on no command
#     line of osslsigncode's (beside stage 1).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ clang python3 util-linux procps git libgtest-dev
          g++-mingw-w64-x86-64-posix wine wine64 locales # the .exe, run under wine
          clang-format clang-tidy                        # lint
          fakeroot osslsigncode openssl softhsm2 libengine-pkcs11-openssl tzdata # the download, signed, in two zones
          opensc) # its pkcs11-tool puts the certificates in the token
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

lint() { # with the compile commands of a configured native build of its own
  cmake -S . -B build-lint -DBUILD_TESTING=OFF >/dev/null
  scripts/lint.sh build-lint
}

reproducible() {
  local tmp=$PWD/build/reproducible
  rm -rf "$tmp"
  mkdir -p "$tmp"
  [ "$(TZ=Asia/Shanghai date +%z)" = +0800 ] || { echo "no time zone data"; return 1; }
  # A self-signed code-signing certificate and its key, made anew, in a .pfx and in a SoftHSM token: signed at
  # the same time with the same key, both ways make the same bytes. The password, the token's PIN too, must
  # reach no file of a build folder, and no command line that osslsigncode is given (a wrapper logs them).
  export WIFI_HOTSPOT_SIGN_PASSWORD="test only $RANDOM$RANDOM" SOFTHSM2_CONF=$tmp/softhsm2.conf
  local -A new_key=([rsa]="-newkey rsa:2048" [ec]="-newkey ec -pkeyopt ec_paramgen_curve:P-256")
  for kind in rsa ec; do
    # shellcheck disable=SC2086 # the options, split
    openssl req -x509 ${new_key[$kind]} -nodes -keyout "$tmp/$kind.key" -out "$tmp/$kind.pem" -days 2 \
      -subj "/CN=wifi-hotspot test signer" -addext extendedKeyUsage=codeSigning 2>/dev/null
    openssl pkcs12 -export -inkey "$tmp/$kind.key" -in "$tmp/$kind.pem" -out "$tmp/$kind.pfx" \
      -passout env:WIFI_HOTSPOT_SIGN_PASSWORD
  done
  mkdir "$tmp/tokens"
  echo "directories.tokendir = $tmp/tokens" >"$SOFTHSM2_CONF"
  softhsm2-util --init-token --free --label wifi-hotspot-test --so-pin "so $RANDOM$RANDOM" \
    --pin "$WIFI_HOTSPOT_SIGN_PASSWORD" >/dev/null
  local module
  module=$(dpkg -L libsofthsm2 | grep -m1 '/libsofthsm2\.so$')
  for kind in rsa ec; do # each key, and its certificate beside it
    softhsm2-util --import "$tmp/$kind.key" --token wifi-hotspot-test --label "$kind" --id "0${#kind}" \
      --pin "$WIFI_HOTSPOT_SIGN_PASSWORD" >/dev/null
    rm "$tmp/$kind.key"
    openssl x509 -in "$tmp/$kind.pem" -outform DER -out "$tmp/$kind.der"
    pkcs11-tool --module "$module" --token-label wifi-hotspot-test --login --pin "$WIFI_HOTSPOT_SIGN_PASSWORD" \
      --write-object "$tmp/$kind.der" --type cert --label "$kind" --id "0${#kind}" >/dev/null
  done
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\nexec "%s" "$@"\n' "$tmp/osslsigncode.args" \
    "$(command -v osslsigncode)" >"$tmp/osslsigncode"
  chmod +x "$tmp/osslsigncode"
  local token=(-DWIFI_HOTSPOT_SIGN_PKCS11_MODULE="$module"
               "-DWIFI_HOTSPOT_SIGN_KEY=pkcs11:token=wifi-hotspot-test;object=rsa"
               "-DWIFI_HOTSPOT_SIGN_CERT=pkcs11:token=wifi-hotspot-test;object=rsa"
               -DCPACK_WIFI_HOTSPOT_OSSLSIGNCODE="$tmp/osslsigncode")
  # a: a clone, signed with the .pfx: packaged, committed to, packaged again in its old build folder without
  # configuring. b: that commit as `git archive` makes it, at another path, in another zone, at another time,
  # with the SOURCE_DATE_EPOCH a's .buildinfo names, signed in the token, its certificate there too. c: a clone
  # of that commit that nobody owns, built by nobody, beside b, in /tmp, where nobody can reach it wherever this
  # checkout is.
  nobodys=$(mktemp -d /tmp/wifi-hotspot-nobody.XXXXXX)
  trap 'rm -rf "$nobodys"' EXIT # this stage runs in a shell of its own
  chmod 755 "$nobodys"
  local a=$tmp/a/build-windows b=$tmp/b/at/another/path/build-windows c=$nobodys/src/build-windows
  git clone -q . "$tmp/a"
  cmake -S "$tmp/a" -B "$a" -DBUILD_TESTING=OFF -DCMAKE_TOOLCHAIN_FILE="$tmp/a/cmake/mingw-w64-x86_64.cmake" \
    -DWIFI_HOTSPOT_SIGN_PFX="$tmp/rsa.pfx" -DCPACK_WIFI_HOTSPOT_OSSLSIGNCODE="$tmp/osslsigncode" >/dev/null
  TZ=UTC cmake --build "$a" --parallel --target all package package-signed >/dev/null
  local stem
  stem=$(basename "$a"/wifi-hotspot-*-win64.zip .zip)
  GIT_COMMITTER_DATE=2030-01-01T00:00:00Z git -C "$tmp/a" -c user.name=test -c user.email=test@example.invalid \
    commit -q --allow-empty -m "a later commit"
  TZ=UTC cmake --build "$a" --parallel --target all package >/dev/null
  if ls "$a/$stem"-signed.* 2>/dev/null; then echo "package left the signed pair of the commit before"; return 1; fi
  TZ=UTC cmake --build "$a" --target package-signed >/dev/null
  git clone -q "$tmp/a" "$nobodys/src"
  chown -R nobody:nogroup "$nobodys"
  setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$nobodys" sh -c 'cmake -S "$1" -B "$1/build-windows" \
    -DBUILD_TESTING=OFF -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-w64-x86_64.cmake" >/dev/null &&
    cmake --build "$1/build-windows" --parallel --target all package >/dev/null' sh "$nobodys/src" &
  local by_nobody=$!
  sleep 1 # a second apart: no clock time may reach the bytes
  mkdir -p "$(dirname "$b")"
  git -C "$tmp/a" archive HEAD | tar -x -m -C "$(dirname "$b")"
  cmake -S "$(dirname "$b")" -B "$b" -DBUILD_TESTING=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$(dirname "$b")/cmake/mingw-w64-x86_64.cmake" "${token[@]}" >/dev/null
  SOURCE_DATE_EPOCH=$(sed -n 's/^SOURCE_DATE_EPOCH: //p' "$a"/*.buildinfo) TZ=Asia/Shanghai \
    cmake --build "$b" --parallel --target all package package-signed >/dev/null
  wait "$by_nobody"
  for file in wifi-hotspot.exe "$stem".{zip,zip.sha256,buildinfo} "$stem"-signed.{zip,zip.sha256}; do
    cmp "$a/$file" "$b/$file"
    echo "$file: the same $(wc -c <"$a/$file") bytes"
  done
  for file in "$stem".{zip,zip.sha256,buildinfo}; do
    cmp "$a/$file" "$c/$file"
    echo "$file: the same built by nobody"
  done
  grep -x "Commit: $(git -C "$tmp/a" rev-parse HEAD)" "$a/$stem.buildinfo" || { echo "not the commit"; return 1; }
  mkdir "$tmp/signed"
  cmake -E chdir "$tmp/signed" cmake -E tar xf "$a/$stem-signed.zip"
  osslsigncode verify -CAfile "$tmp/rsa.pem" -in "$tmp"/signed/*/wifi-hotspot.exe | grep -x "Signature verification: ok"
  # A tree with a change is marked so.
  echo "a change" >>"$tmp/a/README.md"
  cmake --build "$a" --target package >/dev/null
  grep -x "Commit: $(git -C "$tmp/a" rev-parse HEAD) with uncommitted changes" "$a/$stem.buildinfo" ||
    { echo "a tree with a change is not marked so"; return 1; }
  # Each of these stops with the message given and leaves no zip under the signed name anywhere in the build
  # folder: a wrong PIN; an ECDSA key, in a .pfx and in the token with its certificate in a file, refused before
  # osslsigncode signs, and with its certificate in the token, by its signature; git unable to read a checkout
  # that another user owns (nobody's, packaged by root).
  refused() { # BUILD MESSAGE COMMAND...
    local build=$1 message=$2
    shift 2
    if "$@" >"$tmp/refused.log" 2>&1 || ! grep -q "$message" "$tmp/refused.log" ||
       [ -n "$(find "$build" -name "$stem-signed*" -print -quit)" ]; then
      cat "$tmp/refused.log"
      find "$build" -name "$stem-signed*"
      echo "not refused as such, or a signed zip left: $*"
      return 1
    fi
    echo "refused as such, no signed zip left: $message"
  }
  refused "$b" "Not signed: the PIN in WIFI_HOTSPOT_SIGN_PASSWORD is wrong" \
    env WIFI_HOTSPOT_SIGN_PASSWORD=wrong cmake --build "$b" --target package-signed
  local signings
  signings=$(grep -c '^sign ' "$tmp/osslsigncode.args")
  cmake -S "$tmp/a" -B "$a" -DWIFI_HOTSPOT_SIGN_PFX="$tmp/ec.pfx" >/dev/null
  refused "$a" "Not signed: the key is not an RSA key (id-ecPublicKey)" cmake --build "$a" --target package-signed
  cmake -S "$(dirname "$b")" -B "$b" "-DWIFI_HOTSPOT_SIGN_KEY=pkcs11:token=wifi-hotspot-test;object=ec" \
    -DWIFI_HOTSPOT_SIGN_CERT="$tmp/ec.pem" >/dev/null
  refused "$b" "Not signed: the key is not an RSA key (id-ecPublicKey)" cmake --build "$b" --target package-signed
  [ "$(grep -c '^sign ' "$tmp/osslsigncode.args")" = "$signings" ] || { echo "an ECDSA key signed"; return 1; }
  cmake -S "$(dirname "$b")" -B "$b" "-DWIFI_HOTSPOT_SIGN_CERT=pkcs11:token=wifi-hotspot-test;object=ec" >/dev/null
  refused "$b" "Not signed: the key is not an RSA key (ecdsa-with-SHA256)" cmake --build "$b" --target package-signed
  refused "$c" "detected dubious ownership" env GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1 \
    cmake --build "$c" --target package
  grep -q "safe.directory" "$tmp/refused.log" || { echo "no advice for the checkout of another user"; return 1; }
  # The password given as a CMake option: refused, and in no file.
  refused "$tmp/option" "is an environment variable" \
    cmake -S . -B "$tmp/option" -DWIFI_HOTSPOT_SIGN_PASSWORD="$WIFI_HOTSPOT_SIGN_PASSWORD"
  if grep -rqF "$WIFI_HOTSPOT_SIGN_PASSWORD" "$a" "$b" "$c" "$tmp/option" ||
     grep -qF "$WIFI_HOTSPOT_SIGN_PASSWORD" "$tmp/osslsigncode.args"; then
    echo "the password is in a build folder, or on osslsigncode's command line"
    return 1
  fi
  echo "the password: in no build folder, on no command line of osslsigncode's $(grep -c '' "$tmp/osslsigncode.args")"
}

# Stages 2, 3 and 4 need nothing of stage 1 and run beside it, their reports held
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
held build/lint.log "3. lint: the texts against their bytes, clang-format, clang-tidy" lint
lint_run=$!
held build/reproducible.log \
  "4. the Windows download from a clone and an archive, paths, times and zones: the same bytes" reproducible
reproducible_run=$!
stage "1. tests: the rules, dash and bash as /bin/sh, a terminal, the unpacked .exe under wine (clang, MinGW-w64)" \
  tests build -DCMAKE_CXX_COMPILER=clang++ -DWIFI_HOTSPOT_WINDOWS_TESTS=ON
report "$sanitized_run" build/sanitized.log
report "$lint_run" build/lint.log
report "$reproducible_run" build/reproducible.log
