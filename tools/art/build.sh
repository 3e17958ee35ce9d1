#!/bin/bash
# Builds skiff-art on its own and repaints the game's sprite, font and intro
# pictures into data/.
#   tools/art/build.sh [BUILD_DIR]   (default: build-art/tools-art in the source tree)
set -e
art_dir=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$art_dir/../.." && pwd)
build_dir=${1:-$source_dir/build-art/tools-art}
cmake -S "$art_dir" -B "$build_dir" > /dev/null
cmake --build "$build_dir" -j2
"$build_dir/skiff-art" "$source_dir/data"
echo "pictures written to $source_dir/data/intro and $source_dir/data/bmp"
