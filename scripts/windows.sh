#!/usr/bin/env bash
# The Windows build of bivox-cli: cross-built with mingw-w64 (warnings as errors, statically
# linked) into build-windows/, tested under Wine (bivox-cli.exe itself, tests/windows), and
# packed with its README and manual as build-windows/bivox-cli-VERSION-win64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine wine64 groff-base

build="build-windows"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DBIVOX_WERROR=ON -DBIVOX_BUILD_DIALOG=OFF
cmake --build "$build"
# The tests make their own Wine prefix in the build folder; Wine needs no display for them.
ctest --test-dir "$build" --output-on-failure -j 2
(cd "$build" && cpack -G ZIP)
