#!/usr/bin/env bash
# Fails on any clang-format difference, clang-tidy warning, or text whose GBK
# bytes are not its readable text.
#   scripts/lint.sh BUILD_DIR   (a configured native build, for its compile commands)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

scripts/check-texts.py

mapfile -t sources < <(git ls-files '*.cc' '*.h')
clang-format --dry-run --Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} files as formatted"

# Every source of the tool but the Windows file, which needs the MinGW build.
mapfile -t native < <(git ls-files 'src/*.cc' | grep -v 'src/console-win32.cc')
# clang-tidy counts the warnings it saw in system headers, and newer ones count
# the files they check; anything else it says (a finding, a configuration it
# could not read) fails the run, as does its own failure.
tidy() {
  local said
  said=$(clang-tidy --quiet "$@" 2>&1) || { echo "$said"; return 1; }
  said=$(grep -vE '^([0-9]+ warnings? generated\.|\[[0-9]+/[0-9]+\] Processing file .*)$' <<<"$said" || true)
  [ -z "$said" ] || { echo "$said"; return 1; }
}
tidy -p "$build" "${native[@]}"

# The Windows file, through a compile database of the MinGW build (the one the
# tests made, else one of its own) and MinGW's C++ headers (clang's own stand
# in for GCC's intrinsics).
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  windows=$build/windows
  [ -f "$windows/compile_commands.json" ] || { windows=$build/lint-windows; cmake --no-warn-unused-cli -S . \
    -B "$windows" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DBUILD_TESTING=OFF >/dev/null; }
  mapfile -t cxx_dirs < <(echo | x86_64-w64-mingw32-g++-posix -xc++ -E -v - 2>&1 |
                          grep -E '^ /usr/lib/gcc/.*/include/c\+\+' | sed 's/^ //')
  tidy -p "$windows" --extra-arg=--target=x86_64-w64-mingw32 \
    "${cxx_dirs[@]/#/--extra-arg=-isystem}" src/console-win32.cc
fi
echo "clang-tidy: no warnings"
