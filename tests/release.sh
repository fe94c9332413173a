#!/usr/bin/env bash
# The download's promises, on clones of this checkout's HEAD: the same zip, .sha256 and .buildinfo from a clone, a
# `git archive` and a worktree, by root and by nobody, at other paths, times and zones; a .buildinfo that tells the
# truth; a signed zip from a key in a token; after any failure, nothing under the signed name; the PIN in no file
# and on no command line. Skipped (77) without root, which builds as nobody, or a tool it needs.
set -euo pipefail
for tool in x86_64-w64-mingw32-g++-posix zip unzip osslsigncode softhsm2-util pkcs11-tool setpriv; do
  command -v $tool >/dev/null || { echo "skipped: no $tool"; exit 77; }
done
[ "$(id -u)" = 0 ] && [ "$(TZ=Asia/Shanghai date +%z)" = +0800 ] || { echo "skipped: not root, or no zones"; exit 77; }
src=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
tmp=$(mktemp -d /tmp/wifi-hotspot-release.XXXXXX) # where nobody reaches it
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
fail() { echo "FAIL: $*"; exit 1; }

# A SoftHSM token with an RSA and an ECDSA key, each with its certificate; osslsigncode logs its arguments.
export SOFTHSM2_CONF=$tmp/softhsm2.conf WIFI_HOTSPOT_SIGN_PASSWORD="test only $RANDOM$RANDOM"
pin=(--pin "$WIFI_HOTSPOT_SIGN_PASSWORD")
mkdir "$tmp/tokens"
echo "directories.tokendir = $tmp/tokens" >"$SOFTHSM2_CONF"
softhsm2-util --init-token --free --label test --so-pin "so $RANDOM" "${pin[@]}" >/dev/null
module=$(dpkg -L libsofthsm2 | grep -m1 '/libsofthsm2\.so$')
openssl ecparam -name prime256v1 -out "$tmp/p256"
for kind in rsa ec; do
  openssl req -x509 -newkey "${kind/ec/ec:$tmp/p256}" -nodes -keyout "$tmp/$kind.key" -out "$tmp/$kind.pem" -days 2 \
    -subj "/CN=wifi-hotspot test" -addext extendedKeyUsage=codeSigning 2>/dev/null
  softhsm2-util --import "$tmp/$kind.key" --token test --label $kind --id 0${#kind} "${pin[@]}" >/dev/null
  openssl x509 -in "$tmp/$kind.pem" -outform DER -out "$tmp/$kind.der" # a file: pkcs11-tool 0.26 seeks in it
  pkcs11-tool --module "$module" --token-label test --login "${pin[@]}" --type cert --label $kind --id 0${#kind} \
    --write-object "$tmp/$kind.der" >/dev/null
done
printf '#!/bin/sh\necho "$*" >>"%s"\nexec osslsigncode "$@"\n' "$tmp/osslsigncode.args" >"$tmp/osslsigncode"
chmod +x "$tmp/osslsigncode"
configure() { # SOURCE OPTIONS...
  cmake -S "$1" -B "$1/build-windows" -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-w64-x86_64.cmake" -DBUILD_TESTING=OFF \
    -DOSSLSIGNCODE="$tmp/osslsigncode" -DWIFI_HOTSPOT_SIGN_PKCS11_MODULE="$module" "${@:2}" >/dev/null
}
build() { cmake --build "$1/build-windows" --parallel --target "${@:2}" >/dev/null; }
in_token() { echo "-DWIFI_HOTSPOT_SIGN_KEY=pkcs11:token=test;object=$1" "-DWIFI_HOTSPOT_SIGN_CERT=${2:-pkcs11:token=test;object=$1}"; }

# a: a clone, packaged and signed; then a commit whose author and committer times differ, which edits the usage
# text, packaged in the build folder kept from before.
a=$tmp/a
git clone -q "$src" "$a"
read -ra rsa <<<"$(in_token rsa)"
configure "$a" "${rsa[@]}"
TZ=UTC build "$a" all package package-signed
stem=$(basename "$a"/build-windows/wifi-hotspot-*-win64.zip .zip)
echo "an edited line" >>"$a/packaging/README.txt"
GIT_AUTHOR_DATE=2001-01-01T00:00Z GIT_COMMITTER_DATE=2030-01-01T00:00Z git -C "$a" -c user.name=t -c user.email=t@t \
  commit -qam "a later commit"
TZ=UTC build "$a" package
[ -z "$(find "$a" -name "$stem-signed*")" ] || fail "package left the signed zip of the commit before"
unzip -p "$a/build-windows/$stem.zip" "*/README.txt" | grep -q "an edited line" || fail "the edited usage text not in the zip"
TZ=UTC build "$a" package-signed
# c: a worktree of a clone nobody owns, built by nobody with the .buildinfo's Build-Command; beside it, b: the commit
# as `git archive` makes it, elsewhere, in another zone, a second later.
git clone -q "$a" "$tmp/c-clone"
git -C "$tmp/c-clone" worktree add -q "$tmp/c" HEAD
chown -R nobody:nogroup "$tmp/c-clone" "$tmp/c"
command=$(sed -n 's/^Build-Command: //p' "$a/build-windows/$stem.buildinfo")
setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$tmp/c" sh -c "cd '$tmp/c' && ($command)" >/dev/null &
sleep 1
b=$tmp/b/at/another/path
mkdir -p "$b"
git -C "$a" archive HEAD | tar -x -m -C "$b"
configure "$b" "${rsa[@]}"
TZ=Asia/Shanghai build "$b" all package package-signed
wait $! || fail "the Build-Command made no zip for nobody in a worktree"
for file in "$stem".{zip,zip.sha256,buildinfo} "$stem"-signed.{zip,zip.sha256}; do
  cmp "$a/build-windows/$file" "$b/build-windows/$file" || fail "$file differs from a git archive's"
  [[ $file == *signed* ]] || cmp "$a/build-windows/$file" "$tmp/c/build-windows/$file" || fail "$file differs by nobody"
done

# What the .buildinfo, the .sha256 and the zip say.
cd "$a/build-windows"
sha256sum --quiet -c "$stem.zip.sha256" || fail "the .sha256 is not the zip's"
for line in "SHA256: $(sha256sum <"$stem.zip" | cut -c1-64)" "Commit: $(git -C "$a" rev-parse HEAD)" \
            "SOURCE_DATE_EPOCH: $(git -C "$a" log -1 --format=%ct)" " zip (= $(dpkg-query -W -f='${Version}' zip))"; do
  grep -qxF "$line" "$stem.buildinfo" || fail "the .buildinfo lacks \"$line\""
done
for text in README.txt LICENSE.txt; do
  unzip -p "$stem.zip" "*/$text" | grep -qv $'\r$' && fail "$text has a line without CRLF"
done
[ "$(unzip -p "$stem.zip" "*/README.txt" | head -c3 | od -An -tx1)" = " ef bb bf" ] || fail "README.txt has no BOM"
unzip -q "$stem-signed.zip" -d "$tmp/signed"
osslsigncode verify -CAfile "$tmp/rsa.pem" -in "$tmp"/signed/*/wifi-hotspot.exe | grep -qx "Signature verification: ok" ||
  fail "the signature does not verify"
touch "$a/untracked"
build "$a" package
grep -qx "Commit: $(git -C "$a" rev-parse HEAD)" "$stem.buildinfo" || fail "an untracked file marked the tree"
echo "a change" >>"$a/README.md"
build "$a" package
grep -qx "Commit: $(git -C "$a" rev-parse HEAD) with uncommitted changes" "$stem.buildinfo" || fail "a change not marked"

# An ECDSA key signs too. Each refusal says why and leaves nothing under the signed name.
refused() { # BUILD MESSAGE COMMAND...
  if "${@:3}" >"$tmp/refused.log" 2>&1 || ! grep -q "$2" "$tmp/refused.log"; then
    cat "$tmp/refused.log"
    fail "not refused with \"$2\": ${*:3}"
  fi
  left=$(find "$1" -name "$stem-signed*" -o -name "*signed.exe")
  [ -z "$left" ] || fail "a file under the signed name left: $left"
}
# shellcheck disable=SC2046 # the options, split
configure "$b" $(in_token ec "$tmp/ec.pem")
build "$b" package-signed
refused "$b" "the PIN in WIFI_HOTSPOT_SIGN_PASSWORD is wrong" \
  env WIFI_HOTSPOT_SIGN_PASSWORD=wrong cmake --build "$b/build-windows" --target package-signed
while IFS='|' read -r option message; do
  configure "$b" "${rsa[@]}" "$option"
  refused "$b" "$message" build "$b" package-signed
done <<EOF
-DWIFI_HOTSPOT_SIGN_KEY=pkcs11:token=test;object=none|there is no key at
-DWIFI_HOTSPOT_SIGN_CERT=$tmp/none.pem|there is no certificate file
-DWIFI_HOTSPOT_SIGN_CERT=pkcs11:token=test;object=none|there is no certificate at
-DWIFI_HOTSPOT_SIGN_PKCS11_MODULE=$tmp/none.so|there is no PKCS#11 module
EOF
refused "$tmp/c" "detected dubious ownership" env GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1 \
  cmake --build "$tmp/c/build-windows" --target package
grep -q "safe.directory" "$tmp/refused.log" || fail "no advice for the checkout of another user"
refused "$tmp/option" "is an environment variable" \
  cmake -S "$src" -B "$tmp/option" -DWIFI_HOTSPOT_SIGN_PASSWORD="$WIFI_HOTSPOT_SIGN_PASSWORD"
! grep -rqF "$WIFI_HOTSPOT_SIGN_PASSWORD" "$a" "$b" "$tmp/c" "$tmp/option" "$tmp/osslsigncode.args" ||
  fail "the PIN is in a build folder, or on osslsigncode's command line"
echo "release: 1 passed, 0 failed"
