#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Bivox need, when they are
# missing, and nothing else.
#   scripts/setup.sh [PACKAGE...]    also the packages named (what one script alone needs)
set -euo pipefail

# The dialog's font is IPA (P)Gothic; Nanum shows the Korean characters of file names.
packages=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev dpkg-dev
  libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins fonts-ipafont-gothic fonts-nanum xvfb xauth
  librsvg2-bin "$@"
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
