#!/bin/bash
# The intro stays until a key is pressed; then frames run with the frame rate at the
# bottom left and the lives at the bottom right, until Escape ends the game with 0.
source "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2"
start_xvfb
copy_data
use_test_font
as_shown "$GAME_DIR/intro/intro.pcx" "$E2E_WORK/intro-shown.png"

start_game
wait_for_window 30

shows_intro() {
    INTRO_SHOT=$(shot intro)
    [ "$(differing_pixels "$INTRO_SHOT" "$E2E_WORK/intro-shown.png")" = 0 ]
}
poll_until 30 shows_intro || fail "the intro picture is not shown 1:1 at the top left ($INTRO_SHOT)"

# Nothing moves while the game waits for a key.
sleep 1
later=$(shot intro-later)
[ "$(differing_pixels "$INTRO_SHOT" "$later")" = 0 ] || fail "the intro changed without a key ($later)"
game_running || fail "the game ended on the intro screen"

press x

# The first frame-rate update can come with the very first frame: ticks ran during the
# intro. That frame may come before the first logic step, which takes a life to bring
# the first ship in: wait for 4 lives.
FRAME=""
shows_frame_rate() {
    FRAME=$(shot frame)
    [[ "$(read_text "$FRAME" 16 215 5)" =~ ^[0-9]+FPS$ ]] && [ "$(count_lives "$FRAME")" = 4 ]
}
poll_until 30 shows_frame_rate || fail "no frame with the frame-rate text at (16, 208..223) and 4 life symbols from x = 270: '$(read_text "$FRAME" 16 215 5)', $(count_lives "$FRAME") lives ($FRAME)"
[ "$(differing_pixels "$FRAME" "$E2E_WORK/intro-shown.png")" != 0 ] || fail "the intro is still shown"
text=$(read_text "$FRAME" 16 215 5)
note "frame rate shown: $text"
[ "${text%FPS}" -gt 0 ] || fail "frame rate of 0: $text"
has_colour "$FRAME" 0 0 320 208 || fail "nothing but text is drawn ($FRAME)"

# The frame-rate text is renewed about once a second while the game runs.
first_text=$text
renewed() {
    FRAME=$(shot frame)
    local now
    now=$(read_text "$FRAME" 16 215 5)
    [[ "$now" =~ ^[0-9]+FPS$ ]] && [ "$now" != "$first_text" ]
}
poll_until 10 renewed || fail "the frame-rate text stayed at $first_text: are frames still drawn? ($FRAME)"

hold Escape
wait_for_exit 20
release Escape
[ "$E2E_STATUS" = 0 ] || fail "holding Escape ended the game with status $E2E_STATUS, not 0"
echo "PASS"
