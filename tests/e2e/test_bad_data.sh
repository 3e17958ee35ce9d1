#!/bin/bash
# The real game handed broken files: each case either plays (the intro, then frames
# until Escape) or takes the alert path of a failed level load (alerts taken with
# Return); either way it ends with status 0, never a crash or a hang.
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
start_xvfb

# bmp WIDTH HEIGHT BITS: the headers of a BMP whose pixels are missing.
bmp() {
    perl -e 'print pack("A2V3V3v2V6", "BM", 54, 0, 54, 40, $ARGV[0], $ARGV[1], 1, $ARGV[2], 0, 0, 2835, 2835, 0, 0)' "$@"
}

take_alerts() {
    game_stopped || { press Return; false; }
}

# case_ alert|play NAME COMMAND: the game on fresh data that COMMAND, run in level0/, broke.
case_() {
    echo "case: $2" >&2
    copy_data
    (cd "$GAME_DIR/level0" && eval "$3") || fail "$2: cannot make the case"
    if [ "$1" = alert ]; then
        start_game
        wait_for_window 30
        poll_until 40 take_alerts || fail "$2: Return does not end the game (does it play?)"
        wait_for_exit 10
        [ "$E2E_STATUS" = 0 ] || fail "$2: the game ended with status $E2E_STATUS; stderr: $(cat "$E2E_WORK/game.err")"
    else
        play
        quit
    fi
}

case_ alert "level.dat cut after its header" 'head -c 20 "$DATA/level0/level.dat" > level.dat'
case_ alert "level.dat cut in half" 'head -c $(( $(stat -c %s level.dat) / 2 )) "$DATA/level0/level.dat" > level.dat'
case_ alert "level.dat empty" ': > level.dat'
case_ alert "level.dat with a bitmap of 30000 x 30000" \
    "printf 'slh.ALL.\x00\x00\x00\x01BMP \x00\x00\x00\x12\x00\x00\x00\x12\x00\x20\x75\x30\x75\x30AAAAAAAAAAAA' > level.dat"
case_ alert "level.def of random bytes" 'head -c 4000 /dev/urandom > level.def'
case_ alert "no level directory" 'rm -r ../level0'
# A stranger's level directory: what stands in a file's place is refused at once, never waited on or read for ever.
case_ alert "level.def a FIFO" 'rm level.def && mkfifo level.def'
case_ alert "level.def a link to /dev/zero" 'ln -sf /dev/zero level.def'
case_ alert "level.dat a FIFO" 'rm level.dat && mkfifo level.dat'
case_ alert "aliens.def a FIFO" 'rm aliens.def && mkfifo aliens.def'
case_ play "alien picture a FIFO" 'rm ../bmp/alien.bmp && mkfifo ../bmp/alien.bmp'
case_ play "aliens.def with counts in the billions" \
    "echo 'ALIENPROTOS 2000000000 0 bmp/alien.bmp 0 0 ALIENDEF 99999999999 0 10 20' > aliens.def"
case_ play "aliens.def of random bytes" 'head -c 4000 /dev/urandom > aliens.def'
case_ play "a title of 10,000 characters" \
    '{ printf "LEVELDEF %010000d\n" 0; tail -n +2 "$DATA/level0/level.def"; } > level.def'
case_ play "ship picture of 0 x 0, alien picture of 100000 x 100000" \
    'bmp 0 0 24 > ../bmp/player.bmp; bmp 100000 100000 24 > ../bmp/alien.bmp'
case_ play "shot picture empty, explosion pictures garbage and missing" \
    ': > ../bmp/shoot.bmp; echo "BM not a picture" > ../bmp/boom.bmp; rm ../bmp/boom2.bmp'
# Allegro's own loader crashes on the first two headers and loops for minutes on the third.
case_ play "ship, explosion and shot pictures whose headers lie" \
    'bmp 100000 100000 32 > ../bmp/player.bmp; bmp 65536 65536 8 > ../bmp/boom.bmp; bmp 4 1073741824 24 > ../bmp/shoot.bmp'
echo PASS
