#!/bin/bash
# Without a level directory the game shows three alerts in its window, one after the
# other, each taken away by one Return: "Unable to find" level0/level.def, "Unable to
# load" level0/level.dat and "Error loading level". Then it ends with status 0,
# without the intro. The texts are checked by their length in characters of Allegro's
# 8-pixel font and by what the first two have in common.
source "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2"
start_xvfb 320x240x24
copy_data
rm -r "${GAME_DIR:?}/level0"
as_shown "$GAME_DIR/intro/intro.pcx" "$E2E_WORK/intro-shown.png"

# alert_lines FILE: the alert's white box and its text lines, as
# "left top right bottom chars1 left1 chars2 left2 lineTop": the characters of each
# 8-row text line (0 when empty) and the first dark x of the line.
alert_lines() {
    "$CONVERT" "$1" -crop 320x240+0+0 +repage -depth 8 rgb:- | perl -e '
        local $/;
        my @p = unpack("C*", <STDIN> // "");
        my $white = sub { my $i = 3 * (320 * $_[1] + $_[0]); $p[$i] == 255 && $p[$i + 1] == 255 && $p[$i + 2] == 255 };
        my $dark = sub { my $i = 3 * (320 * $_[1] + $_[0]); $p[$i] < 128 && $p[$i + 1] < 128 && $p[$i + 2] < 128 };
        my ($l, $t, $r, $b) = (320, 240, -1, -1);
        for my $y (0 .. 239) {
            for my $x (0 .. 319) {
                next unless $white->($x, $y);
                $l = $x if $x < $l; $r = $x if $x > $r; $t = $y if $y < $t; $b = $y;
            }
        }
        if ($r < 0) { print "none\n"; exit; }
        # The text starts at the first row with dark pixels inside the box, one line
        # every 8 rows.
        my $first = -1;
        ROW: for my $y ($t + 1 .. $b - 1) {
            for my $x ($l + 1 .. $r - 1) { if ($dark->($x, $y)) { $first = $y; last ROW; } }
        }
        my @out = ($l, $t, $r, $b);
        for my $line (0, 1) {
            my ($a, $z) = (-1, -1);
            for my $y ($first + 8 * $line .. $first + 8 * $line + 7) {
                for my $x ($l + 1 .. $r - 1) {
                    next unless $dark->($x, $y);
                    $a = $x if $a < 0 || $x < $a; $z = $x if $x > $z;
                }
            }
            push @out, ($a < 0 ? 0 : int(($z - $a + 1) / 8 + 0.5)), $a;
        }
        print join(" ", @out, $first), "\n";
    '
}

start_game
wait_for_window 30

ALERT=""
PREVIOUS=""
next_alert() {
    game_running || return 0
    ALERT=$(shot alert)
    has_colour "$ALERT" 0 0 320 240 || return 1
    [ -z "$PREVIOUS" ] || [ "$(differing_pixels "$ALERT" "$PREVIOUS")" -gt 0 ]
}

# reads_as "CHARS1 CHARS2" NAME: whether the alert shown has text lines of that many
# characters; line holds what alert_lines read.
reads_as() {
    game_running || return 1
    ALERT=$(shot "$2")
    read -r -a line <<< "$(alert_lines "$ALERT")"
    [ "${line[0]}" != none ] && [ "${line[4]} ${line[6]}" = "$1" ]
}

EXPECTED=("14 16" "14 16" "19 0")
NAMES=("Unable to find / level0/level.def" "Unable to load / level0/level.dat" "Error loading level")
SHOTS=()
LINES=()
for i in 0 1 2; do
    poll_until 30 next_alert || fail "alert $(( i + 1 )) (${NAMES[$i]}) did not appear in the window ($ALERT)"
    game_running || fail "the game ended after $i alerts, without \"${NAMES[$i]}\"; status and stderr: $(cat "$E2E_WORK/game.err")"
    [ "$(differing_pixels "$ALERT" "$E2E_WORK/intro-shown.png")" != 0 ] || fail "the intro is shown instead of alert $(( i + 1 ))"
    line=()
    poll_until 10 reads_as "${EXPECTED[$i]}" "alert$(( i + 1 ))" \
        || fail "alert $(( i + 1 )) shows lines of ${line[4]:-no} and ${line[6]:-no} characters, not ${EXPECTED[$i]} as \"${NAMES[$i]}\" ($ALERT)"
    note "alert $(( i + 1 )): box ${line[*]:0:4}, lines of ${line[4]} and ${line[6]} characters"
    SHOTS[$i]=$ALERT
    LINES[$i]="${line[*]}"
    PREVIOUS=$ALERT
    press Return
done
wait_for_exit 20
[ "$E2E_STATUS" = 0 ] || fail "after the three alerts the status is $E2E_STATUS, not 0"

# "Unable to find" and "Unable to load": the same first 10 characters on the first
# line, the same first 14 on the second (level0/level.d), different ends.
read -r -a first <<< "${LINES[0]}"
read -r -a second <<< "${LINES[1]}"
[ "${first[*]:0:6}" = "${second[*]:0:6}" ] || fail "the first two alerts are laid out differently: ${LINES[0]} / ${LINES[1]}"
same() {
    [ "$(differing_pixels "${SHOTS[0]}" "${SHOTS[1]}" "$1")" = 0 ]
}
top=${first[8]}
same "76x8+${first[5]}+$top" || fail "the first lines of the first two alerts do not both start with \"Unable to \" (${SHOTS[0]}, ${SHOTS[1]})"
same "108x8+${first[7]}+$(( top + 8 ))" || fail "the second lines of the first two alerts do not both start with \"level0/level.d\" (${SHOTS[0]}, ${SHOTS[1]})"
same "30x8+$(( first[5] + 82 ))+$top" && fail "the first two alerts' first lines end alike (${SHOTS[0]}, ${SHOTS[1]})"
same "14x8+$(( first[7] + 114 ))+$(( top + 8 ))" && fail "the first two alerts' second lines end alike (${SHOTS[0]}, ${SHOTS[1]})"
echo "PASS"
