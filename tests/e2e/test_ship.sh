#!/bin/bash
# The ship, in one colour, on a black level with a floor from y = 224: it flies in;
# held Up brings it to the top edge; held space fires a stream of shots ahead of it;
# held Down flies it into the floor, where it explodes; then fewer than 4 life symbols
# are left and a new ship comes in. Each new ship enters where the last one was lost,
# inside the floor, and explodes when its protection ends, until the game ends by itself.
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
start_xvfb
copy_data
use_test_font
use_test_sprites 14
play
see 20 "the ship" 320x208+0+0 "$SHIP" 200
hold Up
see 10 "the ship at the top edge" 320x12+0+0 "$SHIP" 288
release Up
hold space
see 10 "a stream of shots right of the ship" 190x12+130+0 "$SHOT" 80
release space
see 10 "4 life symbols" 50x1+270+215 127,200,100 4 4
hold Down
see 20 "the explosion at the floor" 320x120+0+120 "$FIRE" 200
release Down
see 20 "fewer life symbols" 50x1+270+215 127,200,100 1 3
see 20 "the new ship" 320x240+0+0 "$SHIP" 200
wait_for_exit 60
[ "$E2E_STATUS" = 0 ] || fail "the game ended with status $E2E_STATUS, not 0"
echo PASS
