#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Bivox need, when they are
# missing, and nothing else.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev dpkg-dev
  libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins fonts-ipafont-gothic xvfb xauth librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
