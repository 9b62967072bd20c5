#!/usr/bin/env bash
# The language server with real clients: Neovim (headless, scripted) opens a score, checks
# the diagnostics, hovers, runs the stereo conversion and edits the error away; the output
# the server wrote must equal bivox-cli's for the saved score. Then the VS Code extension is
# packed to build/bivox-zrb.vsix.
#   scripts/lsp-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh neovim
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  echo "lsp-test: node and npm are needed to pack the VS Code extension" >&2
  exit 1
fi

cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target bivox-cli
cli="$PWD/build/src/bivox-cli"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
BIVOX_CLI="$cli" BIVOX_WORK="$work" timeout 120 \
  nvim --headless -u NONE -i NONE -n -c "luafile tests/editor/lsp_client.lua"
"$cli" stereo -o "$work/expected.zrb" "$work/score.zrb" >/dev/null
cmp "$work/_score.zrb" "$work/expected.zrb"
echo "lsp-test: the server's stereo conversion equals bivox-cli's"

node --check editors/vscode/extension.js
(cd editors/vscode && npm ci --ignore-scripts --no-audit --no-fund && \
  npx vsce package --allow-missing-repository --out ../../build/bivox-zrb.vsix)
echo "lsp-test: build/bivox-zrb.vsix"
