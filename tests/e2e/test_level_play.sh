#!/bin/bash
# An author's map played with one command: skiff-level play imports it into a level of its own,
# checks it and starts the build's game on it through the build's launcher. The map's tiles show,
# the shipped level stays as it was, and nothing is left behind, after Escape and after SIGTERM.
# A map with an error never opens a window.
#   test_level_play.sh SKIFF DATA_DIR    (the build directory is SKIFF's)
set -u
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
tool=$(dirname "$SKIFF")/tools/skiff-level/skiff-level
author=$E2E_WORK/author scratch=$E2E_WORK/tmp
mkdir -p "$author" "$scratch"
ORANGE=255,128,0 PURPLE=40,0,160

# Two tiles, the rock orange and the far wall purple, drawn as the README describes a map:
# a background layer filled edge to edge at parallax 0.5, a main layer with a floor, one alien.
"$CONVERT" -size 32x16 xc:"rgb($ORANGE)" -fill "rgb($PURPLE)" -draw 'rectangle 16,0 31,15' "png:$author/tiles.png"
# map ALIEN_Y: the map, its alien at (600, ALIEN_Y).
map() {
    local far main row column
    for ((row = 0; row < 15; row++)); do
        for ((column = 0; column < 60; column++)); do
            far+=2, main+=$(( row >= 12 ? 1 : 0 )),
        done
        far+=$'\n' main+=$'\n'
    done
    cat << MAP
<?xml version="1.0" encoding="UTF-8"?>
<map version="1.10" orientation="orthogonal" renderorder="right-down" width="60" height="15" tilewidth="16" tileheight="16" infinite="0" nextlayerid="4" nextobjectid="2">
 <properties>
  <property name="title" value="Orange Cave"/>
 </properties>
 <tileset firstgid="1" name="cave" tilewidth="16" tileheight="16" tilecount="2" columns="2">
  <image source="tiles.png" width="32" height="16"/>
 </tileset>
 <layer id="1" name="far" width="60" height="15" parallaxx="0.5" parallaxy="0.5">
  <data encoding="csv">
${far%,$'\n'}
</data>
 </layer>
 <layer id="2" name="main" width="60" height="15">
  <data encoding="csv">
${main%,$'\n'}
</data>
 </layer>
 <objectgroup id="3" name="aliens">
  <properties>
   <property name="image" value="bmp/alien.bmp"/>
  </properties>
  <object id="1" name="first" x="600" y="$1"/>
 </objectgroup>
</map>
MAP
}
map 60 > "$author/mine.tmx"
map 190 > "$author/rocky.tmx"
shipped=$(cd "$DATA" && find level0 -type f -exec sha1sum {} + | sort)

# orange_shown: a key has left the intro and the map's rock fills a good part of the screen.
orange_shown() {
    press Return
    [ "$("$CONVERT" "$(shot)" -fuzz 8% -fill black +opaque "rgb($ORANGE)" -fill white -opaque "rgb($ORANGE)" \
        -format '%[fx:int(mean*w*h)]' info:)" -gt 20000 ]
}

start_play() {
    (cd "$author" && exec env TMPDIR="$scratch" timeout -s KILL 120 "$tool" play "$1") \
        > "$E2E_WORK/game.out" 2> "$E2E_WORK/game.err" &
    E2E_GAME_PID=$!
}

left_nothing() {
    [ -z "$(ls -A "$scratch")" ] && ! pgrep -f "$SKIFF" > /dev/null
}

start_xvfb 1280x1024x24
start_play mine.tmx
wait_for_window 30
poll_until 30 orange_shown || fail "the map's tiles do not show; $(game_err)"
quit
grep -q '^0 errors, 0 warnings$' "$E2E_WORK/game.out" && [ ! -s "$E2E_WORK/game.err" ] \
    || fail "the map did not import without a word: $(cat "$E2E_WORK/game.out" "$E2E_WORK/game.err")"
poll_until 10 left_nothing || fail "left behind: $(ls -A "$scratch") $(pgrep -af "$SKIFF")"

start_play mine.tmx
wait_for_window 30
kill -TERM "$E2E_GAME_PID"
wait_for_exit 20
[ "$E2E_STATUS" != 0 ] || fail "a game ended by SIGTERM reported success"
poll_until 10 left_nothing || fail "left behind after SIGTERM: $(ls -A "$scratch") $(pgrep -af "$SKIFF")"

start_play rocky.tmx
wait_for_exit 20
[ "$E2E_STATUS" = 1 ] || fail "a map with an error played on (status $E2E_STATUS)"
grep -q 'rocky.tmx:[0-9]*: error: .*inside solid terrain' "$E2E_WORK/game.err" || fail "the error does not name the map: $(game_err)"
! xdotool search --name '^skiff$' > /dev/null 2>&1 || fail "a window opened for a map with an error"
poll_until 10 left_nothing || fail "left behind after an error: $(ls -A "$scratch")"

[ "$(cd "$DATA" && find level0 -type f -exec sha1sum {} + | sort)" = "$shipped" ] || fail "data/level0 changed"
echo PASS
