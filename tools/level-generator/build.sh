#!/bin/bash
# Builds the level generator, runs it, packs its pictures, turns the result into the
# Tiled map levels/level0/level0.tmx and imports that into data/level0/.
#   tools/level-generator/build.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-levelgen}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DSKIFF_TESTS=OFF > /dev/null
fi
cmake --build "$build" --target skiff-level-generator skiff-level -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/level-generator/skiff-level-generator" "$work"

# -n0 keeps the order added, which is the picture index of the tileset blocks; -s1 drops
# the source files' dates, so that the same pictures always make the same datafile.
pictures="far.bmp near.bmp main.bmp"
(cd "$work" && dat -a -n0 -s1 -t BMP -bpp 32 level.dat $pictures > /dev/null)
listed=$(dat -l "$work/level.dat" | sed -n 's/^- BMP *- \([A-Z_]*\) .*/\1/p' | tr '\n' ' ')
if [ "$listed" != "FAR_BMP NEAR_BMP MAIN_BMP " ]; then
    echo "level.dat holds '$listed' instead of the three layers in order" >&2
    exit 1
fi

# The Tiled map is the level's source from here on: the generated layers replace its
# tile layers (the aliens already placed are kept), and data/level0 is what importing it gives.
cp "$root/data/level0/aliens.def" "$work/" 2>/dev/null || true
tool="$build/tools/skiff-level/skiff-level"
"$tool" export --data-root "$root/data" "$work" "$root/levels/level0/level0.tmx"
"$tool" import --data-root "$root/data" "$root/levels/level0/level0.tmx" "$root/data/level0"
echo "wrote $root/levels/level0/level0.tmx and $root/data/level0/"
