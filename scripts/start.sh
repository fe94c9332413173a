#!/usr/bin/env bash
# Builds the tool for this machine and starts it, saying what it does as it
# goes. What is missing is installed first (Debian and Ubuntu; as root, or
# with sudo). The menu is GBK bytes, as a Chinese Windows console shows them:
# luit turns them into this terminal's UTF-8.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
missing=()
for p in cmake make g++ xfonts-encodings; do # xfonts-encodings: the GBK table luit reads
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || ! command -v luit >/dev/null; then
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update >"$log" 2>&1 || { cat "$log"; exit 1; }
  # luit is a package of its own on newer releases, part of x11-utils on older ones (Ubuntu 22.04).
  if ! command -v luit >/dev/null; then
    if apt-cache show luit >/dev/null 2>&1; then missing+=(luit); else missing+=(x11-utils); fi
  fi
  echo "== installing what is missing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" \
    >"$log" 2>&1 || { cat "$log"; exit 1; }
fi

echo "== building build/wifi-hotspot"
cmake -S . -B build -DBUILD_TESTING=OFF >/dev/null
cmake --build build --parallel >/dev/null

echo "== starting build/wifi-hotspot under luit: type 1, 2 or 3 and Enter, or Ctrl+D to leave"
echo "   (here every choice ends in its failure text: Linux has no netsh)"
exec luit -encoding GBK build/wifi-hotspot
