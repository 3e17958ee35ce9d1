#!/bin/bash
# Builds the level generator, runs it on the Tiled map levels/level0/level0.tmx (its tile
# layers and tileset pictures are replaced, the aliens placed in it are kept) and imports
# that map into data/level0/.
#   tools/level-generator/build.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-levelgen}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DSKIFF_TESTS=OFF > /dev/null
fi
cmake --build "$build" --target skiff-level-generator skiff-level -j2

map="$root/levels/level0/level0.tmx"
"$build/tools/level-generator/skiff-level-generator" "$map"
"$build/tools/skiff-level/skiff-level" import --force --data-root "$root/data" "$map" "$root/data/level0"
echo "wrote $map and $root/data/level0/"
