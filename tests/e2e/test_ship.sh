#!/bin/bash
# The ship, in one colour, on a black level with a floor from y = 224: it flies in;
# held Up brings it to the top edge; held space fires a stream of shots ahead of it;
# held Down flies it into the floor, where it explodes; then 3 of the 4 life symbols are
# left and a new ship comes in.
source "$(dirname "$0")/lib.sh"
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
see 10 "the explosion at the floor" 320x120+0+120 "$FIRE" 200
release Down
see 10 "3 life symbols" 50x1+270+215 127,200,100 3 3
see 10 "the new ship" 320x240+0+0 "$SHIP" 200
quit
echo PASS
