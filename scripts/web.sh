#!/usr/bin/env bash
# The web page: the core compiled to WebAssembly with Debian's emscripten, and the page's
# files, built into build-web/, a static folder that any file server can serve.
#   scripts/web.sh                 build
#   scripts/web.sh --serve [PORT]  build, then serve build-web/ on 127.0.0.1:PORT (8000)
#   scripts/web.sh --test          build, then the same-bytes test of the module under Node
#                                  against bivox-cli, the browser test in headless
#                                  chromium, and the speed figure
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: $0 [--serve [PORT] | --test]" >&2
  exit 2
}

mode=build
port=8000
case "${1:-}" in
  "") ;;
  --serve) mode=serve; port="${2:-8000}" ;;
  --test) mode=test ;;
  *) usage ;;
esac

scripts/setup.sh emscripten chromium
for tool in node npm; do
  command -v "$tool" >/dev/null || { echo "web.sh: $tool (Node 18 or later) is needed" >&2; exit 1; }
done
if command -v ccache >/dev/null; then export CMAKE_CXX_COMPILER_LAUNCHER=ccache; fi

# Debian's emscripten runs its optimiser with the machine's node, which finds the
# optimiser's modules here.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-wasm -G Ninja -DBIVOX_BUILD_TESTS=OFF -DBIVOX_BUILD_DIALOG=OFF >/dev/null
cmake --build build-wasm -j 2

rm -rf build-web
mkdir -p build-web/guide
cp web/index.html web/style.css web/app.js web/worker.js web/bivox.js \
  build-wasm/web/bivox-core.js data/Bivox.html build-web/
cp data/guide/*.txt build-web/guide/
echo "web.sh: the page is in build-web/"

case "$mode" in
  serve)
    echo "web.sh: serving http://127.0.0.1:$port/ (Ctrl-C ends)"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web
    ;;
  test)
    # The native tools the module is compared with.
    scripts/setup.sh
    cmake -S . -B build -G Ninja >/dev/null
    cmake --build build -j 2 --target bivox-cli bivox-scoregen
    if [ ! -d web/node_modules/puppeteer-core ] ||
      [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
      (cd web && npm ci --no-audit --no-fund)
    fi
    export BIVOX_CLI="$PWD/build/src/bivox-cli" BIVOX_SCOREGEN="$PWD/build/bench/bivox-scoregen"
    node --test --test-concurrency=1 web/tests/
    node web/tests/speed.mjs
    ;;
esac
