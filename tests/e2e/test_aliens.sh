#!/bin/bash
# Aliens, in one colour, on a black level: a stream of them waits just past the right
# edge at about the ship's height. Once one is on the screen, held space shoots aliens
# ahead of the ship, where they burst; left alone, the ship is rammed until no life is
# left, and the game ends by itself with status 0.
# Held fire also destroys, unseen, the aliens in the shots' rows beyond the right edge:
# those at y = 110, below those rows, fly in and home in on the ship through the shots.
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
start_xvfb
copy_data
use_test_sprites
heights=(95 110 100 105 110 98)
{
    printf 'ALIENPROTOS 1\n0 bmp/alien.bmp 1 0\nALIENDEF 60\n'
    for i in $(seq 0 59); do echo "0 $(( 330 + 12 * i )) ${heights[$(( i % 6 ))]}"; done
} > "$GAME_DIR/level0/aliens.def"
play
see 20 "an alien" 320x208+0+0 "$ALIEN" 200
hold space
see 60 "an alien burst ahead of the ship" 170x160+150+40 "$BURST" 100
release space
wait_for_exit 100
[ "$E2E_STATUS" = 0 ] || fail "the game ended with status $E2E_STATUS, not 0"
echo PASS
