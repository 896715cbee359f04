#!/usr/bin/env bash
# Prints the product version: the one written in project(VERSION ...) of the root
# CMakeLists.txt, from which the build takes it too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "no version in $root/CMakeLists.txt" >&2; exit 1; }
echo "$version"
