#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent and quiet when
# everything is present.
set -euo pipefail

packages=(
  cmake ninja-build g++ python3 pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libcurl4-openssl-dev libicu-dev rapidjson-dev
  g++-mingw-w64-x86-64 libz-mingw-w64-dev wine wine64
  xvfb xdotool imagemagick openssl clang libclang-rt-14-dev clang-format-14
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
