#!/bin/bash
# The real game handed broken files in its data directory: each case either plays
# (the intro, then frames until Escape) or takes the alert path of a failed level
# load (alerts taken with Return); either way it ends with status 0, never a crash.
#   test_bad_data.sh SKIFF DATA_DIR
source "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2"
start_xvfb

# le32 N: four bytes, least significant first, as printf escapes.
le32() {
    local n=$1 out="" i
    for i in 0 1 2 3; do
        out+=$(printf '\\x%02x' $(( (n >> (8 * i)) & 255 )))
    done
    printf '%s' "$out"
}

# bmp_header WIDTH HEIGHT FILE [BITS]: a BMP (24 bits by default) whose pixels stop after its headers.
bmp_header() {
    printf "BM$(le32 54)$(le32 0)$(le32 54)$(le32 40)$(le32 "$1")$(le32 "$2")\\x01\\x00$(printf '\\x%02x' "${4:-24}")\\x00$(le32 0)$(le32 0)$(le32 2835)$(le32 2835)$(le32 0)$(le32 0)" > "$3"
}

# A datafile with one bitmap claiming 30000 x 30000 pixels in 12 bytes.
absurd_datafile() {
    printf 'slh.ALL.\x00\x00\x00\x01BMP \x00\x00\x00\x12\x00\x00\x00\x12\x00\x20\x75\x30\x75\x30AAAAAAAAAAAA' > "$1"
}

# Return until the picture moves: a key pressed while the game still loads is not seen by the intro.
leave_intro() {
    game_running || fail "the game ended while playing; stderr: $(cat "$E2E_WORK/game.err")"
    press Return
    local first second
    first=$(shot)
    sleep 0.3
    second=$(shot)
    [ "$(differing_pixels "$first" "$second")" != 0 ]
}

take_alerts() {
    game_stopped && return 0
    dismiss_alert
    return 1
}

# run_case NAME alert|play: starts the game on $GAME_DIR as the case left it.
run_case() {
    local name=$1 expected=$2
    note "case: $name (expects $expected)"
    start_game
    wait_for_window 30
    if [ "$expected" = alert ]; then
        poll_until 40 take_alerts || fail "$name: Return does not end the game (did it play instead?)"
        wait_for_exit 10
    else
        poll_until 30 leave_intro || fail "$name: no frames drawn after the intro"
        hold Escape
        wait_for_exit 20
        release Escape
    fi
    [ "$E2E_STATUS" = 0 ] || fail "$name: the game ended with status $E2E_STATUS, not 0; stderr: $(cat "$E2E_WORK/game.err")"
}

fresh_data() {
    rm -rf "$E2E_WORK/data"
    copy_data
}

level=level0
fresh_data; head -c 20 "$DATA/$level/level.dat" > "$GAME_DIR/$level/level.dat"
run_case "level.dat cut after its header" alert
fresh_data; size=$(stat -c %s "$DATA/$level/level.dat")
head -c $(( size / 2 )) "$DATA/$level/level.dat" > "$GAME_DIR/$level/level.dat"
run_case "level.dat cut in half" alert
fresh_data; : > "$GAME_DIR/$level/level.dat"
run_case "level.dat empty" alert
fresh_data; absurd_datafile "$GAME_DIR/$level/level.dat"
run_case "level.dat with a bitmap of 30000 x 30000" alert
fresh_data; head -c 4000 /dev/urandom > "$GAME_DIR/$level/level.def"
run_case "level.def of random bytes" alert
fresh_data; rm -r "${GAME_DIR:?}/$level"
run_case "no level directory" alert

fresh_data; printf 'ALIENPROTOS 2000000000 0 bmp/alien.bmp 0 0 ALIENDEF 99999999999 0 10 20\n' > "$GAME_DIR/$level/aliens.def"
run_case "aliens.def with counts in the billions" play
fresh_data; head -c 4000 /dev/urandom > "$GAME_DIR/$level/aliens.def"
run_case "aliens.def of random bytes" play
fresh_data; { printf 'LEVELDEF '; head -c 10000 /dev/zero | tr '\0' 't'; printf '\n'; tail -n +2 "$DATA/$level/level.def"; } > "$GAME_DIR/$level/level.def"
run_case "title of 10,000 characters" play
fresh_data; bmp_header 0 0 "$GAME_DIR/bmp/player.bmp"; bmp_header 100000 100000 "$GAME_DIR/bmp/alien.bmp"
run_case "ship picture of 0 x 0, alien picture of 100000 x 100000" play
fresh_data; : > "$GAME_DIR/bmp/shoot.bmp"; printf 'BM not a picture' > "$GAME_DIR/bmp/boom.bmp"; rm "$GAME_DIR/bmp/boom2.bmp"
run_case "shot picture empty, explosion pictures garbage and missing" play
# Allegro's own loader crashes on these two headers and loops for minutes on the third.
fresh_data; bmp_header 100000 100000 "$GAME_DIR/bmp/player.bmp" 32; bmp_header 65536 65536 "$GAME_DIR/bmp/boom.bmp" 8
bmp_header 4 1073741824 "$GAME_DIR/bmp/shoot.bmp"
run_case "ship, explosion and shot pictures whose headers lie" play
echo "PASS"
