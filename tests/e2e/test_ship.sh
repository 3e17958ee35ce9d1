#!/bin/bash
# The ship, with the shipped pictures, on a black level with a floor: it flies in from
# the left and blinks while protected, then stays shown; Up and Down move it; held
# space fires shots ahead of it; flown into the floor it explodes, and the life
# symbols drop from 4 to 3 once the explosion has played.
# Blinking and the explosion may last only a few frames at a low frame rate, so the
# screen is recorded meanwhile and the frames are looked at afterwards.
source "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2"
start_xvfb 320x240x24
copy_data
use_test_font
LEVEL="$GAME_DIR/level0"

# One layer, 60 x 15 tiles of 16: tile 0 empty, tile 1 slate; the floor from y = 208.
FLOOR_Y=208
awk 'BEGIN {
    print "P3"; print 16, 32; print 255
    for (i = 0; i < 256; i++) print 255, 0, 255
    for (i = 0; i < 256; i++) print 50, 50, 70
}' > "$E2E_WORK/tiles.ppm"
ppm_to_bmp "$E2E_WORK/tiles.ppm" "$E2E_WORK/tiles.bmp"
build_datafile "$LEVEL/level.dat" "$E2E_WORK/tiles.bmp"
awk -v floor=$(( FLOOR_Y / 16 )) 'BEGIN {
    print "LEVELDEF Ship test"
    print "{ tileset 0 16 60 15"
    for (r = 0; r < 15; r++) {
        line = ""
        for (c = 0; c < 60; c++) line = line (r >= floor ? 1 : 0) " "
        print line
    }
    print "}"
}' > "$LEVEL/level.def"
printf 'ALIENPROTOS 0\nALIENDEF 0\n' > "$LEVEL/aliens.def"

# The colours to look for, from the shipped pictures: the ship's silver and white, the
# shot's, and the explosion's fire, which is drawn at 90 % over the background.
SHIP_COLOURS=$(picture_colours "$DATA/bmp/player.bmp" | awk -F, '
    { max = $1; min = $1; for (i = 2; i <= 3; i++) { if ($i > max) max = $i; if ($i < min) min = $i } }
    $1 + $2 + $3 >= 450 && max - min <= 60')
SHOT_COLOURS=$(picture_colours "$DATA/bmp/shoot.bmp")
FIRE_COLOURS=$(picture_colours "$DATA/bmp/boom.bmp" | awk -F, '$1 >= 120 && $1 - $3 >= 100 {
    printf "%d,%d,%d\n", 0.9 * $1 + 0.5, 0.9 * $2 + 0.5, 0.9 * $3 + 0.5 }')
[ -n "$SHIP_COLOURS" ] && [ -n "$SHOT_COLOURS" ] && [ -n "$FIRE_COLOURS" ] \
    || fail "cannot read the colours of the ship, shot and explosion pictures"
note "ship colours: $(echo $SHIP_COLOURS); shot: $(echo $SHOT_COLOURS); fire at 90 %: $(echo $FIRE_COLOURS)"

# The silver and white of the ship at x = 106 cover screen x 109 to 127.
REST_LEFT=109
at_rest() {
    [ "$1" -ge $(( REST_LEFT - 2 )) ] && [ "$1" -le $(( REST_LEFT + 2 )) ]
}

FRAME="$E2E_WORK/frame.xwd"
SHIP=() # count left top right bottom of the ship's colours in the last frame
NOW=0

# look [BAND_TOP]: a fresh frame; SHIP from the 40 rows from BAND_TOP (default all
# rows above the text), NOW the time of the frame.
look() {
    game_running || fail "the game ended; stderr: $(cat "$E2E_WORK/game.err")"
    NOW=$(date +%s.%N)
    grab "$FRAME" || fail "screenshot failed"
    local region=320x200+0+0
    [ -n "${1:-}" ] && region="320x40+0+$1"
    SHIP=($(colour_stats "$FRAME" "$region" 4 $SHIP_COLOURS))
}

keep() {
    cp "$FRAME" "$E2E_WORK/$1.xwd"
    echo "$E2E_WORK/$1.xwd"
}

since() {
    awk -v now="$(date +%s.%N)" -v then="$1" 'BEGIN { print now - then }'
}

at_least() {
    awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'
}

lives_in() {
    colour_stats "$1" 50x1+270+215 0 127,200,100 | cut -d' ' -f1
}

# analyse_recording BAND_TOP OUTPUT: a line per recorded frame, oldest first: its
# time in nanoseconds, the ship's pixels in the 40 rows from BAND_TOP and their
# leftmost x (-1 without any), the fire pixels (x 40 to 239) and the life symbols.
analyse_recording() {
    local frame
    for frame in $(recorded_frames); do
        "$CONVERT" "xwd:$frame" -depth 8 "rgb:${frame%.xwd}.rgb" 2> /dev/null || fail "cannot read $frame"
    done
    perl -e '
        my ($directory, $band, $shipColours, $fireColours) = @ARGV;
        sub near {
            my ($tolerance, $colours) = @_;
            my %set;
            for my $colour (split " ", $colours) {
                my ($r, $g, $b) = split /,/, $colour;
                for my $dr (-$tolerance .. $tolerance) { for my $dg (-$tolerance .. $tolerance) { for my $db (-$tolerance .. $tolerance) {
                    my @c = ($r + $dr, $g + $dg, $b + $db);
                    next if grep { $_ < 0 || $_ > 255 } @c;
                    $set{pack("C3", @c)} = 1;
                } } }
            }
            return \%set;
        }
        my ($ship, $fire) = (near(4, $shipColours), near(12, $fireColours));
        my $symbol = pack("C3", 127, 200, 100);
        for my $file (sort glob("$directory/*.rgb")) {
            open my $f, "<", $file or die; binmode $f; local $/; my $data = <$f>;
            my ($shipCount, $left, $fireCount, $lives) = (0, -1, 0, 0);
            for my $y ($band .. $band + 39) {
                for my $x (0 .. 319) {
                    next unless $ship->{substr($data, 3 * (320 * $y + $x), 3)};
                    $shipCount++;
                    $left = $x if $left < 0 || $x < $left;
                }
            }
            for my $y (0 .. 239) {
                for my $x (40 .. 239) {
                    $fireCount++ if $fire->{substr($data, 3 * (320 * $y + $x), 3)};
                }
            }
            for my $x (270 .. 319) {
                $lives++ if substr($data, 3 * (320 * 215 + $x), 3) eq $symbol;
            }
            my ($time) = $file =~ m{/(\d+)\.rgb$};
            print "$time $shipCount $left $fireCount $lives\n";
        }
    ' "$RECORD_DIR" "$1" "$SHIP_COLOURS" "$FIRE_COLOURS" > "$2"
}

# blinked ANALYSIS [LIVES]: whether, in the frames (showing LIVES lives), the ship was
# shown at its place, then hidden, then shown again. Prints what was seen.
blinked() {
    awk -v rest="$REST_LEFT" -v lives="${2:-}" '
        lives != "" && $5 != lives { next }
        $2 > 0 && $3 >= rest - 2 && $3 <= rest + 2 { if (state == "hidden") blinks++; state = "shown"; next }
        $2 == 0 && state == "shown" { state = "hidden" }
        END {
            printf "shown, hidden and shown again %d times in %d frames\n", blinks, NR
            exit !(blinks > 0)
        }' "$1"
}

start_game
wait_for_window 30
intro_shown() {
    has_colour "$(shot intro)" 0 0 320 240
}
poll_until 30 intro_shown || fail "the intro did not appear"
start_recording 30 0.03
press x

# The first ship flies in from beyond the left edge to x = 106 and stays there; the
# recording shows where it came from.
entered() {
    look
    [ "${SHIP[0]}" -gt 0 ] && at_rest "${SHIP[1]}"
}
poll_until 20 entered || fail "the ship does not come to x = 106 (its colours at ${SHIP[*]}) ($(keep no-entry))"
SHIP_TOP=${SHIP[2]}
BAND=$(( SHIP_TOP - 12 ))
note "ship at rest: colours at ${SHIP[*]}"

# Once the protection is over it is shown all the time.
RUN_START=""
RUN_FRAMES=0
steady() {
    look "$BAND"
    if [ "${SHIP[0]}" = 0 ]; then
        RUN_START=""
        RUN_FRAMES=0
        return 1
    fi
    [ -n "$RUN_START" ] || RUN_START=$NOW
    RUN_FRAMES=$(( RUN_FRAMES + 1 ))
    [ "$RUN_FRAMES" -ge 5 ] && at_least "$(since "$RUN_START")" 0.7
}
poll_until 10 steady || fail "the ship keeps blinking (or has gone) 10 s after its entry ($(keep no-steady))"
stop_recording
note "frame rate: $(read_text "$(shot fps)" 16 215 5)"
REST=("${SHIP[@]}")
[ "${REST[2]}" = "$SHIP_TOP" ] || fail "the ship moved from y $SHIP_TOP to ${REST[2]} without a key"

# Protected, it blinks: hidden for 12 ticks in every 24 (animation runs faster at low
# frame rates, and at exactly 20 frames a second it may not show). If the first
# protection shows no blinking, the one after the crash is looked at too.
analyse_recording "$BAND" "$E2E_WORK/entry.txt"
LEFTMOST=$(awk '$2 > 0 && ($3 < m || m == "") { m = $3 } END { print m + 0 }' "$E2E_WORK/entry.txt")
[ "$LEFTMOST" -lt $(( REST_LEFT - 20 )) ] || fail "the ship was first seen at x = $(( LEFTMOST - 3 )), not flying in from the left edge (frames in $E2E_WORK/entry.txt)"
note "first seen at x = $(( LEFTMOST - 3 ))"
FIRST_BLINKED=0
if BLINKING=$(blinked "$E2E_WORK/entry.txt"); then
    FIRST_BLINKED=1
    note "first protection: $BLINKING"
else
    note "first protection: $BLINKING; looking again after the crash (frames in $E2E_WORK/entry.txt)"
fi

# Up, then Down: the ship moves 2 pixels a step while the key is held, and stops when
# it is released. Up is held until the ship sits at the top edge, where its silver
# starts at y = 2.
moved() {
    look
    [ "${SHIP[0]}" -gt 0 ] && [ $(( (${SHIP[2]} - $1) * $2 )) -ge 8 ]
}
at_top() {
    look
    [ "${SHIP[0]}" -gt 0 ] && [ "${SHIP[2]}" -le 2 ]
}
stopped() {
    look
    local first=${SHIP[2]}
    sleep 0.2
    look
    [ "${SHIP[0]}" -gt 0 ] && [ "${SHIP[2]}" = "$first" ]
}
hold Up
poll_until 5 moved "${REST[2]}" -1 || { release Up; fail "holding Up does not move the ship up (from y ${REST[2]}: ${SHIP[*]}) ($(keep no-up))"; }
note "Up moves the ship: its top from y ${REST[2]} to ${SHIP[2]}"
poll_until 5 at_top || { release Up; fail "held Up does not bring the ship to the top edge (${SHIP[*]}) ($(keep no-top))"; }
release Up
poll_until 5 stopped || fail "the ship goes on moving after Up was released ($(keep no-stop))"
[ "${SHIP[2]}" = 2 ] || fail "at the top edge the ship's silver starts at y ${SHIP[2]}, not 2 ($(keep top-edge))"
HIGH=("${SHIP[@]}")
# Down for 0.3 s: about 60 pixels, far from the floor whatever the frame rate, as
# every logic step that runs while the key is held moves the ship.
hold Down
sleep 0.3
release Down
poll_until 5 stopped || fail "the ship goes on moving after Down was released ($(keep no-stop))"
[ $(( SHIP[2] - HIGH[2] )) -ge 8 ] || fail "holding Down for 0.3 s moved the ship's top from y ${HIGH[2]} to ${SHIP[2]} only ($(keep no-down))"
note "Down moved the ship's top from y ${HIGH[2]} to ${SHIP[2]}"
at_rest "${SHIP[1]}" || fail "the ship left x = 106 while moving up and down (${SHIP[*]}) ($(keep sideways))"
FLYING=("${SHIP[@]}")

# Held space: shots, at least two of them (each is 10 pixels wide, and they leave at
# least 25 pixels apart), in the ship's rows to its right.
SHOTS=()
firing() {
    look
    local top=$(( FLYING[2] - 2 ))
    SHOTS=($(colour_stats "$FRAME" "$(( 319 - FLYING[3] - 2 ))x14+$(( FLYING[3] + 3 ))+$top" 3 $SHOT_COLOURS))
    [ "${SHOTS[0]}" -gt 0 ] && [ $(( SHOTS[3] - SHOTS[1] )) -ge 30 ]
}
hold space
poll_until 10 firing || { release space; fail "held space shows no stream of shots right of the ship (shot colours at ${SHOTS[*]}) ($(keep no-shots))"; }
release space
note "shots seen right of the ship: ${SHOTS[*]}"

# Into the floor: the explosion plays with 4 lives shown, then 3 are left. The next
# ship enters where the last one was destroyed, inside the floor, blinks, and is
# destroyed as soon as its protection ends: 3 lives during that explosion, then 2.
# Two crashes, as at a low frame rate an explosion lasts only a few frames.
look
[ "$(lives_in "$FRAME")" = 4 ] || fail "expected 4 life symbols before the crash, saw $(lives_in "$FRAME") ($(keep lives))"
# The lives are read from the recording's latest frame: another grabber would only
# slow the recording down.
lives_down() {
    game_running || fail "the game ended; stderr: $(cat "$E2E_WORK/game.err")"
    local latest
    latest=$(recorded_frames | tail -1)
    [ -n "$latest" ] || return 1
    cp "$latest" "$FRAME"
    [ "$(lives_in "$FRAME")" = "$1" ]
}
start_recording 40 0.02
hold Down
poll_until 20 lives_down 3 || { release Down; fail "no life lost after the ship was steered into the floor ($(keep no-crash))"; }
release Down
poll_until 20 lives_down 2 || fail "the next ship, entering inside the floor, was not destroyed when its protection ended ($(keep no-second-crash))"
stop_recording
analyse_recording $(( FLOOR_Y - 40 )) "$E2E_WORK/crash.txt"
awk '
    { fire = $4 >= 20 }
    fire { explosions[$5]++ }
    $5 < 4 && !($5 in firstFrame) { firstFrame[$5] = 1; clear[$5] = !fire }
    END {
        for (lives = 3; lives >= 2; lives--) {
            if (!(lives in firstFrame)) { printf "no frame shows %d lives\n", lives; exit 1 }
            if (!clear[lives]) { printf "the first frame with %d lives still shows the explosion\n", lives; exit 1 }
        }
        if (!explosions[4] && !explosions[3]) { print "no frame shows an explosion"; exit 1 }
        printf "the explosions seen in %d frames with 4 lives and %d with 3, then one life less\n", explosions[4], explosions[3]
    }' "$E2E_WORK/crash.txt" > "$E2E_WORK/crash.verdict" \
    || fail "$(cat "$E2E_WORK/crash.verdict") (frame, ship, left, fire, lives in $E2E_WORK/crash.txt)"
note "crash: $(cat "$E2E_WORK/crash.verdict")"

if [ "$FIRST_BLINKED" = 0 ]; then
    BLINKING=$(blinked "$E2E_WORK/crash.txt" 3) \
        || fail "the ship did not blink while protected, neither after its first entry nor after the crash: $BLINKING (frames in $E2E_WORK/entry.txt, $E2E_WORK/crash.txt)"
    note "second protection: $BLINKING"
fi

hold Escape
wait_for_exit 20
release Escape
[ "$E2E_STATUS" = 0 ] || fail "Escape ended the game with status $E2E_STATUS"
echo "PASS"
