#!/bin/bash
# The intro stays, unchanged, until a key is pressed; then frames run with the frame
# rate at the bottom left, renewed about once a second, and 4 life symbols at the
# bottom right; Escape ends the game with status 0. The level has no alien, and a floor
# below the ship, so that the ship keeps its 4 lives however slowly the screen is read.
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
start_xvfb
copy_data
use_test_font
use_test_sprites 14
start_game
wait_for_window 30
poll_until 30 shows_intro || fail "the intro is not shown 1:1 at the top left ($INTRO_SHOT)"
sleep 1
shows_intro || fail "the intro changed without a key ($INTRO_SHOT)"
poll_until 30 left_intro || fail "a key does not leave the intro"

# A frame may come before the first logic step, which takes a life to bring the ship in.
shows_frame_rate() {
    FRAME=$(shot frame)
    read -r TEXT LIVES <<< "$(bottom_text "$FRAME")"
    [[ "$TEXT" =~ ^[1-9][0-9]*FPS$ ]] && [ "$TEXT" != "${1:-}" ] && [ "$LIVES" = 4 ]
}
poll_until 30 shows_frame_rate || fail "no frame rate at (16, 215) with 4 life symbols from x = 270: '$TEXT', $LIVES lives ($FRAME)"
has_colour "$FRAME" 0 224 320 16 || fail "the floor is not drawn ($FRAME)"
poll_until 30 shows_frame_rate "$TEXT" || fail "the frame rate stays at '$TEXT' ($FRAME)"
quit
echo PASS
