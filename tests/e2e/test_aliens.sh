#!/bin/bash
# Aliens on the shipped level, with a stream of them waiting right at the start at the
# ship's height: (a) left alone after the intro, the ship is rammed until no life is
# left and the game ends by itself with status 0, the aliens' green energy bursts
# showing where they hit the ship; (b) with space held, shots blow aliens up ahead
# of the ship, where their bursts show.
# A held fire button destroys aliens in the ship's row unseen, just past the right
# edge; the stream has some at y = 110, below the shots' rows, which fly in and are
# shot on screen once they home in on the ship.
source "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2"
start_xvfb 320x240x24
copy_data
use_test_font
as_shown "$GAME_DIR/intro/intro.pcx" "$E2E_WORK/intro-shown.png"

{
    echo "ALIENPROTOS 1"
    echo "0 bmp/alien.bmp 1 0"
    echo "ALIENDEF 30"
    heights=(95 110 100 105 110 98)
    for i in $(seq 0 29); do
        echo "0 $(( 330 + 12 * i )) ${heights[$(( i % 6 ))]}"
    done
} > "$GAME_DIR/level0/aliens.def"

# The burst's greens, drawn at 90 % over the dark cave (which adds a little of its own).
BURST_COLOURS=$(picture_colours "$DATA/bmp/boom2.bmp" | awk -F, '$2 - $1 >= 60 && $2 - $3 >= 40 {
    printf "%d,%d,%d\n", 0.9 * $1 + 3, 0.9 * $2 + 2, 0.9 * $3 + 4 }')
[ -n "$BURST_COLOURS" ] || fail "no green in $DATA/bmp/boom2.bmp"
note "burst colours at 90 %: $(echo $BURST_COLOURS)"

# burst_in GEOMETRY WHERE: a recorded frame holds at least 6 burst-coloured pixels in
# the region. A burst lasts 0.84 s: the screen is recorded, and every frame looked at,
# up to the game's end, which fails.
burst_in() {
    local running=1
    game_running || running=0
    scan_recording "$1" 8 6 $BURST_COLOURS && return 0
    [ "$running" = 1 ] || fail "the game ended before any alien burst $2 was seen; stderr: $(cat "$E2E_WORK/game.err")"
    return 1
}

shows_intro() {
    local intro
    intro=$(shot intro)
    [ "$(differing_pixels "$intro" "$E2E_WORK/intro-shown.png")" = 0 ]
}

# in_play: the first logic step has taken a life, and no ram has ended the game yet.
LIVES_FRAME=""
in_play() {
    LIVES_FRAME=$(shot lives)
    local lives
    lives=$(count_lives "$LIVES_FRAME")
    [ "$lives" -ge 1 ] && [ "$lives" -le 4 ]
}

# start_play: the game past its intro, with the first ship on its way in.
start_play() {
    start_game
    wait_for_window 30
    poll_until 30 shows_intro || fail "the intro is not shown"
    press x
    poll_until 30 in_play || fail "no game with 1 to 4 lives after the intro ($LIVES_FRAME)"
}

# (a) Nobody at the keys: the aliens ram the ship, each taking one life.
start_play
start_recording 120 0.02
# The ship sits at screen (106, 100); a rammed alien bursts over it.
poll_until 100 burst_in 80x60+90+75 "over the ship" || fail "no alien burst at the ship within 100 s"
stop_recording
note "an alien burst over the ship: ${STATS[*]} ($SEEN)"
wait_for_exit 120
[ "$E2E_STATUS" = 0 ] || fail "the game ended with status $E2E_STATUS, not 0"

# (b) Space held: the ship fires once its protection is over, and aliens burst ahead of it.
start_play
start_recording 120 0.02
hold space
poll_until 60 burst_in 170x140+150+40 "ahead of the firing ship" || { release space; fail "no alien burst ahead of the firing ship within 60 s"; }
release space
stop_recording
note "an alien burst ahead of the ship: ${STATS[*]} ($SEEN)"
kill_game
echo "PASS"
