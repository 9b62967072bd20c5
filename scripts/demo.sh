#!/usr/bin/env bash
# Sets up, builds bivox-cli and runs the stereo conversion on the bundled example score.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target bivox-cli
cp examples/minuet.zrb build/minuet.zrb
build/src/bivox-cli stereo --report build/minuet.zrb
echo "--- build/_minuet.zrb (the score with a pan command before every note):"
iconv -f CP932 -t UTF-8 build/_minuet.zrb
