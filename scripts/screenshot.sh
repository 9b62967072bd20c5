#!/usr/bin/env bash
# Starts the dialog on a virtual X server, runs the stereo conversion of the example score
# and saves the dialog window as a PNG.
#   scripts/screenshot.sh [PNG]        (default: build/bivox-dialog.png)
set -euo pipefail
cd "$(dirname "$0")/.."

png="${1:-build/bivox-dialog.png}"
scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target Bivox
cp examples/minuet.zrb build/minuet.zrb
xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" \
  build/src/shell/Bivox --screenshot="$png" build/minuet.zrb
echo "screenshot: $png"
