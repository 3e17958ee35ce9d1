#!/bin/bash
# The level generator writes a Tiled map that imports into the shipped level byte for byte:
# over a copy of the shipped map, and over one stripped of its tile layers and generated
# tilesets whose alien tileset sits where the new tiles need room. A map whose tileset picture
# cannot be written is left as it was.
#   test_generated_map.sh GENERATOR SKIFF_LEVEL SOURCE_DIR
set -u
generator=$1 tool=$2 source=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# NAME/levels/level0/level0.tmx from standard input, beside a link NAME/data to the source
# tree's data, so that the map's path to the alien picture still resolves.
scratch_map() {
    mkdir -p "$scratch/$1/levels/level0"
    ln -s "$source/data" "$scratch/$1/data"
    cat > "$scratch/$1/levels/level0/level0.tmx"
}

# Generates into NAME's map, imports it into NAME/out and compares that with data/level0.
round_trip() {
    local map="$scratch/$1/levels/level0/level0.tmx"
    if ! "$generator" "$map" > "$scratch/$1.log" 2>&1; then
        fail "$1: the generator failed"; cat "$scratch/$1.log"; return
    fi
    if ! "$tool" import --data-root "$scratch/$1/data" "$map" "$scratch/$1/out" > "$scratch/$1.log" 2>&1; then
        fail "$1: the import failed"; cat "$scratch/$1.log"; return
    fi
    for file in level.def level.dat aliens.def; do
        cmp -s "$source/data/level0/$file" "$scratch/$1/out/$file" || fail "$1: $file differs from data/level0/$file"
    done
}

map_size() {
    grep -o '<map [^>]*' "$1" | grep -o ' width="[0-9]*" height="[0-9]*"'
}

scratch_map shipped < "$source/levels/level0/level0.tmx"
round_trip shipped

bare=$(perl -0pe 's/\s*<layer\b.*?<\/layer>//sg; s/\s*<tileset[^>]*name="(far|near|main)"[^>]*>.*?<\/tileset>//sg;
    s/<tileset firstgid="\d+" name="aliens"/<tileset firstgid="2" name="aliens"/; s/ gid="\d+"/ gid="2"/g;
    s/(<map [^>]*) width="\d+" height="\d+"/$1 width="1" height="1"/' "$source/levels/level0/level0.tmx")
scratch_map bare <<< "$bare"
round_trip bare
[ "$(map_size "$scratch/bare/levels/level0/level0.tmx")" = "$(map_size "$source/levels/level0/level0.tmx")" ] ||
    fail "bare: the map is not sized like its main layer"

# A directory where the main tileset picture goes makes the last picture fail to be written.
scratch_map blocked <<< "$bare"
mkdir "$scratch/blocked/levels/level0/main.png"
"$generator" "$scratch/blocked/levels/level0/level0.tmx" > "$scratch/blocked.log" 2>&1 &&
    fail "blocked: the generator reported success"
[ "$(cat "$scratch/blocked/levels/level0/level0.tmx")" = "$bare" ] || fail "blocked: the map was changed"
left=$(cd "$scratch/blocked/levels/level0" && echo *)
[ "$left" = "far.png level0.tmx main.png near.png" ] || fail "blocked: the map's directory holds $left"

[ "$failures" = 0 ] || exit 1
echo "the generated map imports into data/level0 byte for byte"
