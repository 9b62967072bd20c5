#!/usr/bin/env bash
# Sets up, builds Bivox and runs the whole test suite.
#   scripts/test.sh [--werror] [--sanitize] [--compiler gcc|clang]
# Each combination builds in a folder of its own (build, build-clang-sanitize, ...).
set -euo pipefail
cd "$(dirname "$0")/.."

werror=OFF
sanitize=OFF
compiler=gcc
while [ $# -gt 0 ]; do
  case "$1" in
    --werror) werror=ON ;;
    --sanitize) sanitize=ON ;;
    --compiler) compiler="$2"; shift ;;
    *) echo "usage: $0 [--werror] [--sanitize] [--compiler gcc|clang]" >&2; exit 2 ;;
  esac
  shift
done

scripts/setup.sh

build=build
[ "$compiler" = clang ] && build+=-clang
[ "$sanitize" = ON ] && build+=-sanitize
cxx=g++
[ "$compiler" = clang ] && cxx=clang++

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
  -DBIVOX_WERROR="$werror" -DBIVOX_SANITIZE="$sanitize"
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j 2
