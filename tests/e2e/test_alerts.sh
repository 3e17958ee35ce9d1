#!/bin/bash
# Without a level directory the game shows three alerts in its window, one after the
# other, each taken away by Return: "Unable to find" / "level0/level.def", "Unable to
# load" / "level0/level.dat", "Error loading level"; then it ends with status 0, instead
# of showing the intro. Each text line is read as its length in characters of Allegro's 8-pixel font.
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
start_xvfb
copy_data
rm -r "${GAME_DIR:?}/level0"

# alert_lines FILE: the characters of the first two text lines in the alert's white box,
# lines 8 rows apart from the first row with dark pixels, as "N1 N2" (0 for none).
alert_lines() {
    "$CONVERT" "$1" -depth 8 rgb:- | perl -e '
        local $/; my @p = unpack("C*", <STDIN>);
        my $sum = sub { my $i = 3 * (320 * $_[1] + $_[0]); $p[$i] + $p[$i + 1] + $p[$i + 2] };
        my ($l, $t, $r, $b) = (320, 240, -1, -1);
        for my $y (0 .. 239) { for my $x (0 .. 319) {
            next unless $sum->($x, $y) == 765;
            $l = $x if $x < $l; $r = $x if $x > $r; $t = $y if $y < $t; $b = $y;
        } }
        my ($first, @lines) = (-1);
        for my $y ($t + 1 .. $b - 1) { for my $x ($l + 1 .. $r - 1) {
            next unless $sum->($x, $y) < 384;
            $first = $y if $first < 0;
            my $line = int(($y - $first) / 8);
            next if $line > 1;
            $lines[$line][0] = $x if !defined $lines[$line][0] || $x < $lines[$line][0];
            $lines[$line][1] = $x if !defined $lines[$line][1] || $x > $lines[$line][1];
        } }
        print join(" ", map { $_ ? int(($_->[1] - $_->[0] + 1) / 8 + 0.5) : 0 } @lines[0, 1]);'
}

# shows_alert "N1 N2": an alert with lines of those lengths, not the one taken before.
shows_alert() {
    game_running || fail "the game ended with $i alerts taken; its stderr: $(cat "$E2E_WORK/game.err")"
    ALERT=$(shot alert) LINES=$(alert_lines "$ALERT")
    [ "$LINES" = "$1" ] && { [ -z "$TAKEN" ] || [ "$(differing_pixels "$ALERT" "$TAKEN")" != 0 ]; }
}

start_game
wait_for_window 30
i=0 TAKEN=""
for expected in "14 16" "14 16" "19 0"; do
    poll_until 30 shows_alert "$expected" || fail "alert $(( i + 1 )) shows lines of '$LINES' characters, not $expected ($ALERT)"
    press Return
    i=$(( i + 1 )) TAKEN=$ALERT
done
wait_for_exit 20
[ "$E2E_STATUS" = 0 ] || fail "after the three alerts the status is $E2E_STATUS, not 0"
echo PASS
