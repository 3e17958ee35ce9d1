#!/bin/bash
# The map scrolls 20 pixels a second, and its background layers follow at their factors.
# A level of three layers whose tiles are coded: the red of a pixel gives its tile column,
# the green its x within the tile and the blue its layer, so one pixel tells how far its
# layer has scrolled. The far layer (30 tiles wide: factor (480 - 320) / (960 - 320)
# = 0.25) shows alone above y = 80, the near one (42 tiles: 0.55) from 80, the main one
# (60 tiles) from 160; all are 15 tiles high, so none scrolls up or down.
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
start_xvfb
copy_data
WIDTHS=(30 42 60) FIRST_ROWS=(0 5 10) BLUES=(40 120 200) ROWS=(40 120 200) FACTORS=(0.25 0.55 1)
{
    echo "LEVELDEF Scrolling"
    for layer in 0 1 2; do
        awk -v blue="${BLUES[$layer]}" 'BEGIN {
            print "P3\n16", 16 * 61, "255"
            for (k = 0; k <= 60; k++) for (y = 0; y < 16; y++) for (x = 0; x < 16; x++)
                print k ? 4 * k " " 16 * x " " blue : "255 0 255" }' > "$E2E_WORK/layer$layer.ppm"
        "$CONVERT" "ppm:$E2E_WORK/layer$layer.ppm" -type TrueColor "BMP3:$E2E_WORK/layer$layer.bmp"
        awk -v layer=$layer -v width="${WIDTHS[$layer]}" -v first="${FIRST_ROWS[$layer]}" 'BEGIN {
            print "{ tileset", layer, 16, width, 15
            for (r = 0; r < 15; r++) { for (c = 1; c <= width; c++) printf "%d ", (r >= first ? c : 0); print "" }
            print "}" }'
    done
} > "$GAME_DIR/level0/level.def"
build_datafile "$GAME_DIR/level0/level.dat" "$E2E_WORK"/layer{0,1,2}.bmp
printf 'ALIENPROTOS 0\nALIENDEF 0\n' > "$GAME_DIR/level0/aliens.def"

# scrolled: SCROLL[layer], how far each layer has scrolled, from the map x of the pixel at
# x = 160 of its row; false unless the pixel is of its layer. TIME: when the screen was
# taken, give or take 75 ms (slower captures are taken again).
scrolled() {
    local before layer
    until before=${EPOCHREALTIME/./} && grab "$E2E_WORK/now.xwd" && [ $(( ${EPOCHREALTIME/./} - before )) -lt 150000 ]; do :; done
    TIME=$(( (before + ${EPOCHREALTIME/./}) / 2 ))
    for layer in 0 1 2; do
        set -- $("$CONVERT" "$E2E_WORK/now.xwd" -crop "1x1+160+${ROWS[$layer]}" -depth 8 rgb:- | od -An -tu1)
        SCROLL[$layer]=$(( 4 * $1 + $2 / 16 - 16 - 160 ))
        [ "$3" = "${BLUES[$layer]}" ] || return 1
    done
}

# Each layer has scrolled its factor times as far as the main layer, but for rounding.
check_factors() {
    local layer
    for layer in 0 1; do
        awk -v a="${SCROLL[$layer]}" -v main="${SCROLL[2]}" -v f="${FACTORS[$layer]}" 'BEGIN { exit !(a - f * main <= 1.5 && f * main - a <= 1.5) }' \
            || fail "layer $layer has scrolled ${SCROLL[$layer]} px while the main layer has scrolled ${SCROLL[2]}, not ${FACTORS[$layer]} times that"
    done
}

play
poll_until 30 scrolled || fail "the coded layers are not shown in their bands: ${SCROLL[*]}"
check_factors
FIRST=${SCROLL[2]} FIRST_TIME=$TIME
sleep 6
scrolled || fail "the coded layers are no longer shown in their bands: ${SCROLL[*]}"
check_factors
awk -v px=$(( SCROLL[2] - FIRST )) -v us=$(( TIME - FIRST_TIME )) 'BEGIN {
    speed = px / us * 1e6; printf "the main layer scrolled %d px in %.2f s: %.1f px/s\n", px, us / 1e6, speed
    exit !(speed >= 17 && speed <= 23) }' >&2 || fail "the map does not scroll at 20 px/s"
quit
echo PASS
