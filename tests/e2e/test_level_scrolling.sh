#!/bin/bash
# The map scrolls 20 pixels a second and its two background layers follow at their
# own factors, 0.25 and 0.55 for the shipped level. First the shipped level: its
# ceiling, the top of the main layer, moves left at 20 pixels a second. Then a level of
# the shipped level's layer sizes whose tiles are coded: in every layer each pixel's
# colour gives its map x (red: the tile column, green: the x within the tile, blue: the
# layer), so one screen row tells how far its layer has scrolled, to the pixel.
# The ship is left alone: it flies in and stays at the same place on the screen.
source "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2"
start_xvfb 320x240x24
copy_data
LEVEL="$GAME_DIR/level0"

intro_shown() {
    has_colour "$(shot intro)" 0 0 320 240
}

start_playing() {
    start_game
    wait_for_window 30
    poll_until 30 intro_shown || fail "the intro did not appear"
    press x
}

stop_playing() {
    game_running || fail "the game ended; stderr: $(cat "$E2E_WORK/game.err")"
    hold Escape
    wait_for_exit 20
    release Escape
    [ "$E2E_STATUS" = 0 ] || fail "Escape ended the game with status $E2E_STATUS"
}

# waited SECONDS SINCE: whether SECONDS have passed since the time SINCE (date +%s.%N).
waited() {
    awk -v now="$(date +%s.%N)" -v since="$2" -v seconds="$1" 'BEGIN { exit !(now - since >= seconds) }'
}

# speed_check NAME FROM TO T0 T1 EXPECTED SHOTS: the layer moved from FROM to TO pixels
# between the times T0 and T1, at EXPECTED pixels a second give or take 15 %.
speed_check() {
    local verdict
    verdict=$(awk -v a="$2" -v b="$3" -v t0="$4" -v t1="$5" -v expected="$6" 'BEGIN {
        speed = (b - a) / (t1 - t0)
        printf "%.2f px/s (expected %.2f; %s to %s px in %.2f s)", speed, expected, a, b, t1 - t0
        exit !(speed >= 0.85 * expected && speed <= 1.15 * expected)
    }') || fail "the $1 scrolls at $verdict ($7)"
    note "$1: $verdict"
}

# ceiling_shift EARLIER LATER: how many pixels to the left the top 16 rows moved: the
# shift that matches them best, with the mean difference per colour channel.
ceiling_shift() {
    local a="$E2E_WORK/ceiling-a.rgb" b="$E2E_WORK/ceiling-b.rgb"
    "$CONVERT" "$1" -crop 320x16+0+0 +repage -depth 8 "rgb:$a"
    "$CONVERT" "$2" -crop 320x16+0+0 +repage -depth 8 "rgb:$b"
    perl -e '
        sub load { local $/; open my $f, "<", $_[0] or die; binmode $f; return [unpack("C*", <$f>)]; }
        my ($a, $b) = (load($ARGV[0]), load($ARGV[1]));
        my ($best, $bestError) = (-1, 1e9);
        for my $shift (0 .. 200) {
            my ($sum, $n) = (0, 0);
            for my $y (0 .. 15) {
                for my $x (0 .. 319 - $shift) {
                    for my $c (0 .. 2) {
                        $sum += abs($a->[3 * (320 * $y + $x + $shift) + $c] - $b->[3 * (320 * $y + $x) + $c]);
                        $n++;
                    }
                }
            }
            ($best, $bestError) = ($shift, $sum / $n) if $sum / $n < $bestError;
        }
        printf "%d %.1f\n", $best, $bestError;
    ' "$a" "$b"
}

as_shown "$GAME_DIR/intro/intro.pcx" "$E2E_WORK/intro-shown.png"
start_playing
SHIPPED=""
playing_shipped() {
    game_running || fail "the game ended; stderr: $(cat "$E2E_WORK/game.err")"
    SHIPPED=$(shot shipped)
    [ "$(differing_pixels "$SHIPPED" "$E2E_WORK/intro-shown.png")" -gt 10000 ] && has_colour "$SHIPPED" 0 0 320 16
}
poll_until 30 playing_shipped || fail "the shipped level is not shown, or it has no ceiling at the top ($SHIPPED)"
read -r first firstTime <<< "$(timed_shot shipped-first)"
# The aliens wake after about six seconds; they are not to be in the picture.
poll_until 20 waited 4 "$firstTime"
read -r second secondTime <<< "$(timed_shot shipped-second)"
stop_playing
read -r shift error <<< "$(ceiling_shift "$first" "$second")"
awk -v e="$error" 'BEGIN { exit !(e < 8) }' \
    || fail "the ceiling does not match itself at any shift (best $shift px, mean difference $error) ($first, $second)"
speed_check "ceiling of the shipped level" 0 "$shift" "$firstTime" "$secondTime" 20 "$first, $second"

# Layer sizes in pixels (tile size times columns, times rows) of the shipped level.
sizes=$(tr -s ' \t\r\n' '\n' < "$DATA/level0/level.def" | awk '
    $0 == "tileset" { getline picture; getline size; getline width; getline height; print size * width, size * height }')
[ "$(echo "$sizes" | wc -l)" = 3 ] || fail "expected three layers in the shipped level, found: $sizes"

TILE=16
CODES=63 # tile columns coded before the colours repeat: 63 x 16 = 1008 pixels
FAR_BLUE=40
NEAR_BLUE=120
MAIN_BLUE=200

# coded_tiles BLUE PPM: tile 0 transparent, tile k the k-th coded column of 16 pixels.
coded_tiles() {
    awk -v blue="$1" -v codes=$CODES -v tile=$TILE 'BEGIN {
        print "P3"; print tile, tile * (codes + 1); print 255
        for (k = 0; k <= codes; k++)
            for (y = 0; y < tile; y++)
                for (x = 0; x < tile; x++)
                    if (k == 0) print 255, 0, 255; else print 4 * (k - 1), 16 * x, blue
    }' > "$2"
}

# tileset_block PICTURE WIDTH HEIGHT FIRST_ROW: coded tiles from FIRST_ROW down, empty above.
tileset_block() {
    awk -v picture="$1" -v width="$2" -v height="$3" -v first="$4" -v codes=$CODES -v tile=$TILE 'BEGIN {
        print "{ tileset", picture, tile, width, height
        for (r = 0; r < height; r++) {
            line = ""
            for (c = 0; c < width; c++)
                line = line (r >= first ? 1 + c % codes : 0) " "
            print line
        }
        print "}"
    }'
}

# On the screen (the ship keeps the view at the top of the map): the far layer alone
# above y = 80, the near layer from 80 to 159, the main layer from 160 down.
FIRST_ROWS=(0 5 10)
BLUES=($FAR_BLUE $NEAR_BLUE $MAIN_BLUE)
{
    echo "LEVELDEF Scrolling test"
    layer=0
    while read -r width height; do
        [ $(( width % TILE )) = 0 ] && [ $(( height % TILE )) = 0 ] || fail "layer of $width x $height pixels"
        coded_tiles "${BLUES[$layer]}" "$E2E_WORK/layer$layer.ppm"
        ppm_to_bmp "$E2E_WORK/layer$layer.ppm" "$E2E_WORK/layer$layer.bmp"
        tileset_block $layer $(( width / TILE )) $(( height / TILE )) "${FIRST_ROWS[$layer]}"
        layer=$(( layer + 1 ))
    done <<< "$sizes"
} > "$LEVEL/level.def"
build_datafile "$LEVEL/level.dat" "$E2E_WORK/layer0.bmp" "$E2E_WORK/layer1.bmp" "$E2E_WORK/layer2.bmp"
printf 'ALIENPROTOS 0\nALIENDEF 0\n' > "$LEVEL/aliens.def"

# scroll_of FILE Y BLUE: how far the layer coded BLUE, seen on row Y, has scrolled:
# the median of map x minus screen x over the row's pixels of that layer.
scroll_of() {
    "$CONVERT" "$1" -crop "320x1+0+$2" +repage -depth 8 rgb:- | perl -e '
        my ($blue, $codes) = @ARGV;
        local $/;
        my @rgb = unpack("C*", <STDIN> // "");
        my @offsets;
        for my $sx (0 .. @rgb / 3 - 1) {
            my ($r, $g, $b) = @rgb[3 * $sx .. 3 * $sx + 2];
            next if abs($b - $blue) > 2;
            my $mapX = 16 * int($r / 4 + 0.5) + int($g / 16 + 0.5);
            push @offsets, ($mapX - $sx) % (16 * $codes);
        }
        @offsets = sort { $a <=> $b } @offsets;
        # Most of the row must show the layer, or the reading means nothing.
        print @offsets >= 200 ? $offsets[@offsets / 2] : "none";
    ' "$3" "$CODES"
}

ROWS=(40 140 184)
NAMES=(far near main)
SCROLL=()
# read_scrolls FILE: SCROLL[layer] for the three layers; false unless all are seen.
read_scrolls() {
    local layer
    for layer in 0 1 2; do
        SCROLL[$layer]=$(scroll_of "$1" "${ROWS[$layer]}" "${BLUES[$layer]}")
        [ "${SCROLL[$layer]}" != none ] || return 1
    done
}

start_playing
PLAYING=""
playing() {
    game_running || fail "the game ended; stderr: $(cat "$E2E_WORK/game.err")"
    PLAYING=$(shot playing)
    read_scrolls "$PLAYING"
}
poll_until 30 playing || fail "the three coded layers are not shown in their bands ($PLAYING): far ${SCROLL[0]}, near ${SCROLL[1]}, main ${SCROLL[2]}"

read -r first firstTime <<< "$(timed_shot first)"
read_scrolls "$first" || fail "a layer is missing from its band ($first)"
FIRST=("${SCROLL[@]}")

# Six seconds of scrolling, measured: about 120 pixels for the main layer.
poll_until 20 waited 6 "$firstTime"
read -r second secondTime <<< "$(timed_shot second)"
read_scrolls "$second" || fail "a layer is missing from its band ($second)"
SECOND=("${SCROLL[@]}")
stop_playing

FACTORS=(0.25 0.55 1)
for layer in 0 1 2; do
    speed=$(awk -v factor="${FACTORS[$layer]}" 'BEGIN { print 20 * factor }')
    speed_check "${NAMES[$layer]} layer" "${FIRST[$layer]}" "${SECOND[$layer]}" "$firstTime" "$secondTime" "$speed" "$first, $second"
done

# In one frame, each layer has scrolled its factor times as far as the main layer, to
# a pixel or so: only rounding to screen pixels lies between them.
for layer in 0 1; do
    for pair in "${FIRST[$layer]} ${FIRST[2]} $first" "${SECOND[$layer]} ${SECOND[2]} $second"; do
        set -- $pair
        awk -v layer="$1" -v main="$2" -v factor="${FACTORS[$layer]}" 'BEGIN {
            d = layer - factor * main; exit !(d >= -1.5 && d <= 1.5) }' \
            || fail "the ${NAMES[$layer]} layer has scrolled $1 px while the main layer has scrolled $2 px, not ${FACTORS[$layer]} times that ($3)"
    done
done
echo "PASS"
