#!/usr/bin/env bash
# Builds the Windows programs for release and writes the package the product page offers:
#   dist/Velmora-<version>-win64.zip  Velmora.exe, velmora-cli.exe and the editor's guide
#   dist/Velmora-<version>.exe        the program as the update check downloads it
#   dist/version.json                 the update manifest pointing at that file
# and prints the zip's SHA-256.
#
# The build is reproducible: the same commit gives the same bytes in any folder and at
# any time (no build paths or timestamps in the binaries, fixed zip entry times and
# order). `scripts/release.sh --verify` builds twice from two copies of the commit in
# different folders and compares the results.
#
# Usage: scripts/release.sh [--verify]
#   VELMORA_PRODUCT_PAGE_URL  the product page (default: the one CMake uses)
#   VELMORA_RELEASE_NOTES     the description the update dialog shows (optional)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

version=$(scripts/version.sh)
page_default=$(sed -n 's/^set(VELMORA_PRODUCT_PAGE_URL "\([^"]*\)".*/\1/p' CMakeLists.txt)
page=${VELMORA_PRODUCT_PAGE_URL:-$page_default}

# build SOURCE_DIR BUILD_DIR: the two Windows programs, with every path the compiler or
# the linker could write into them mapped to a fixed name.
build() {
  local src=$1 out=$2
  local map="-ffile-prefix-map=$src=/velmora -ffile-prefix-map=$out=/velmora-build"
  cmake -S "$src" -B "$out" -G Ninja --toolchain "$src/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVELMORA_BENCH=OFF -DVELMORA_PRODUCT_PAGE_URL="$page" \
    -DCMAKE_C_FLAGS="$map" -DCMAKE_CXX_FLAGS="$map" -DCMAKE_RC_FLAGS="" \
    -DCMAKE_EXE_LINKER_FLAGS="-Wl,--no-insert-timestamp" >/dev/null
  cmake --build "$out" --target Velmora velmora-cli
}

# package BUILD_DIR SOURCE_DIR DEST: the zip, the update download and the manifest.
package() {
  local out=$1 src=$2 dest=$3
  mkdir -p "$dest"
  python3 "$src/tools/make_release_zip.py" "$dest/Velmora-$version-win64.zip" \
    "Velmora.exe=$out/app/win32/Velmora.exe" "velmora-cli.exe=$out/cli/velmora-cli.exe" \
    "guide-ru.html=$src/docs/guide-ru.html" "window.png=$src/docs/window.png"
  cp "$out/app/win32/Velmora.exe" "$dest/Velmora-$version.exe"
  python3 "$src/tools/make_version_json.py" --version "$version" --file "Velmora-$version.exe" \
    --page "$page" --description "${VELMORA_RELEASE_NOTES:-}" --out "$dest/version.json" >/dev/null
}

# A copy of the committed tree (what a fresh clone holds) in the given folder.
export_commit() {
  mkdir -p "$1"
  git -C "$root" archive --format=tar HEAD | tar -x -C "$1"
}

scripts/deps.sh

if [ "${1:-}" = "--verify" ]; then
  work=$(mktemp -d /tmp/velmora-verify.XXXXXX)
  trap 'rm -rf "$work"' EXIT
  export_commit "$work/first/src"
  export_commit "$work/second/another-source"
  build "$work/first/src" "$work/first/build"
  package "$work/first/build" "$work/first/src" "$work/first/dist"
  sleep 2  # a later second, so that any timestamp would differ
  build "$work/second/another-source" "$work/second/out"
  package "$work/second/out" "$work/second/another-source" "$work/second/dist"
  status=0
  for f in "Velmora-$version-win64.zip" "Velmora-$version.exe" version.json; do
    if cmp -s "$work/first/dist/$f" "$work/second/dist/$f"; then
      echo "same: $f $(sha256sum <"$work/first/dist/$f" | cut -d' ' -f1)"
    else
      echo "DIFFERENT: $f" >&2
      status=1
    fi
  done
  python3 -m zipfile -l "$work/first/dist/Velmora-$version-win64.zip"
  [ $status -eq 0 ] && echo "release: two builds in different folders are byte-identical"
  exit $status
fi

build "$root" "$root/build/release"
package "$root/build/release" "$root" "$root/dist"
python3 -m zipfile -l "dist/Velmora-$version-win64.zip"
echo "dist/Velmora-$version-win64.zip SHA-256 $(sha256sum <"dist/Velmora-$version-win64.zip" | cut -d' ' -f1)"
