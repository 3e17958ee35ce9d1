# End-to-end helpers, sourced by the test_*.sh scripts and tools/screenshot.sh.
# Each test runs the real game on a private Xvfb display, from a copy of the data
# directory, and watches it through screenshots. Waiting is always polling for
# what is expected, up to a deadline.

CONVERT=/usr/bin/convert
COMPARE=/usr/bin/compare

E2E_WORK=""
E2E_XVFB_PID=""
E2E_GAME_PID=""
E2E_STATUS=""
E2E_FAILED=0
DISPLAY_NUMBER=""

fail() {
    echo "FAIL: $*" >&2
    E2E_FAILED=1
    exit 1
}

note() {
    echo "$*" >&2
}

# e2e_init SKIFF DATA: checks the arguments and the tools, makes the work directory.
e2e_init() {
    SKIFF=$(realpath "$1" 2>/dev/null) || fail "usage: $0 path-to-skiff path-to-data"
    DATA=$(realpath "$2" 2>/dev/null) || fail "usage: $0 path-to-skiff path-to-data"
    [ -x "$SKIFF" ] || fail "no game binary at $1"
    [ -d "$DATA" ] || fail "no data directory at $2"
    local tool
    for tool in Xvfb xdotool xwd xwininfo "$CONVERT" "$COMPARE"; do
        command -v "$tool" > /dev/null || fail "missing tool: $tool (scripts/install-deps test)"
    done
    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/skiff-e2e-XXXXXX") || fail "cannot make a work directory"
    # A blink lasts 0.12 s and the screen recorder forks for every frame: on a busy
    # machine the test, its X server and the game run ahead of other work where
    # that is allowed (as root), so that the recording keeps up.
    renice -n -10 -p $$ > /dev/null 2>&1
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    set +e
    stop_recording
    kill_game
    stop_xvfb
    if [ "$E2E_FAILED" = 1 ] || [ -n "${E2E_KEEP:-}" ]; then
        note "work directory kept: $E2E_WORK"
    elif [ -n "$E2E_WORK" ]; then
        rm -rf "$E2E_WORK"
    fi
}

# start_xvfb [WIDTHxHEIGHTxDEPTH [XVFB-OPTION...]]: a private X server; sets DISPLAY.
# Xvfb picks a free display number itself and reports it once it accepts connections.
start_xvfb() {
    local screen=${1:-1024x768x24}
    shift $(( $# > 0 ? 1 : 0 ))
    stop_xvfb
    local numberFile="$E2E_WORK/display-number"
    : > "$numberFile"
    Xvfb -displayfd 1 -screen 0 "$screen" -nolisten tcp -noreset "$@" \
        > "$numberFile" 2> "$E2E_WORK/xvfb.log" &
    E2E_XVFB_PID=$!
    poll_until 20 xvfb_ready "$numberFile" || fail "Xvfb did not start: $(tail -3 "$E2E_WORK/xvfb.log")"
    DISPLAY_NUMBER=$(head -1 "$numberFile")
    export DISPLAY=":$DISPLAY_NUMBER"
    # Without a window manager, keyboard focus follows the pointer.
    xdotool mousemove 0 0 > /dev/null 2>&1
}

stop_xvfb() {
    [ -n "$E2E_XVFB_PID" ] || return 0
    kill "$E2E_XVFB_PID" 2> /dev/null
    wait "$E2E_XVFB_PID" 2> /dev/null
    E2E_XVFB_PID=""
}

xvfb_ready() {
    kill -0 "$E2E_XVFB_PID" 2> /dev/null || fail "Xvfb exited: $(tail -3 "$E2E_WORK/xvfb.log")"
    grep -q '^[0-9][0-9]*$' "$1"
}

# poll_until SECONDS COMMAND...: runs COMMAND until it succeeds; false after SECONDS.
poll_until() {
    local seconds=$1
    shift
    local deadline=$(( $(date +%s%N) / 1000000 + seconds * 1000 ))
    while true; do
        "$@" && return 0
        [ $(( $(date +%s%N) / 1000000 )) -ge $deadline ] && return 1
        sleep 0.1
    done
}

# copy_data: the game's own copy of the data tree, in $GAME_DIR, with the game
# binary in it: Allegro reads allegro.cfg from the executable's directory, not from
# the working directory.
copy_data() {
    GAME_DIR="$E2E_WORK/data"
    cp -r "$DATA" "$GAME_DIR" || fail "cannot copy $DATA"
    cp "$SKIFF" "$GAME_DIR/skiff" || fail "cannot copy $SKIFF"
    write_config 320 240 0 0
}

# write_config WIDTH HEIGHT FULLSCREEN FILTERING: the game's allegro.cfg.
write_config() {
    cat > "$GAME_DIR/allegro.cfg" <<EOF
[engineparams]
screenwidth = $1
screenheight = $2
fullScreen = $3
textureFiltering = $4
EOF
}

# use_test_font: replaces the font picture with one in which cell n draws only its
# leftmost column, coloured rgb(n,200,100), so that text can be read back with read_text.
use_test_font() {
    local draw=() cell
    for cell in $(seq 0 255); do
        local x=$(( cell % 16 * 16 )) y=$(( cell / 16 * 16 ))
        draw+=(-fill "rgb($cell,200,100)" -draw "line $x,$y $x,$(( y + 15 ))")
    done
    "$CONVERT" -size 256x256 xc:magenta +antialias "${draw[@]}" -type TrueColor \
        "BMP3:$GAME_DIR/bmp/fontes.bmp" || fail "cannot write the test font"
}

# start_game [ENV=VALUE...]: starts the game in $GAME_DIR in the background, killed
# after GAME_TIMEOUT seconds (default 120) whatever happens.
start_game() {
    (cd "$GAME_DIR" && exec env "$@" timeout -s KILL "${GAME_TIMEOUT:-120}" "$GAME_DIR/skiff") \
        > "$E2E_WORK/game.out" 2> "$E2E_WORK/game.err" &
    E2E_GAME_PID=$!
    E2E_STATUS=""
}

# kill_game: ends the game (and the timeout process watching it) at once.
kill_game() {
    [ -n "$E2E_GAME_PID" ] || return 0
    local child
    for child in $(pgrep -P "$E2E_GAME_PID" 2> /dev/null); do
        kill -KILL "$child" 2> /dev/null
    done
    kill -KILL "$E2E_GAME_PID" 2> /dev/null
    wait "$E2E_GAME_PID" 2> /dev/null
    E2E_GAME_PID=""
}

game_running() {
    kill -0 "$E2E_GAME_PID" 2> /dev/null
}

game_stopped() {
    ! game_running
}

# wait_for_exit SECONDS: waits for the game to end and sets E2E_STATUS to its exit
# status; kills it and fails at the deadline.
wait_for_exit() {
    if ! poll_until "$1" game_stopped; then
        kill_game
        fail "the game did not end within $1 s"
    fi
    wait "$E2E_GAME_PID"
    E2E_STATUS=$?
    E2E_GAME_PID=""
}

# The game's window: the only top-level window called skiff.
game_window() {
    xdotool search --name '^skiff$' 2> /dev/null | head -1
}

has_game_window() {
    game_running || fail "the game ended early; its stderr: $(cat "$E2E_WORK/game.err")"
    [ -n "$(game_window)" ]
}

# wait_for_window SECONDS: until the game's window is mapped.
wait_for_window() {
    poll_until "$1" has_game_window || fail "no game window after $1 s"
}

# grab FILE: the whole screen, unconverted (xwd), as fast as it can be taken. X
# refuses a capture now and then (BadDrawable while a window changes): one that
# fails is taken again.
grab() {
    local try
    for try in 1 2 3 4 5; do
        xwd -root -silent > "$1" 2> /dev/null && [ -s "$1" ] && return 0
        sleep 0.05
    done
    return 1
}

# screenshot FILE: the whole screen as PNG.
screenshot() {
    grab "$1.xwd" && "$CONVERT" "xwd:$1.xwd" "png:$1" 2> /dev/null
    local status=$?
    rm -f "$1.xwd"
    return $status
}

# shot [NAME]: a fresh screenshot in the work directory; prints its path.
shot() {
    local count
    count=$(find "$E2E_WORK" -maxdepth 1 -name 'shot-*.png' | wc -l)
    local file="$E2E_WORK/shot-$(( count + 1 ))${1:+-$1}.png"
    screenshot "$file" || fail "screenshot failed"
    echo "$file"
}

# pixel FILE X Y: "red green blue" of one pixel, 0 to 255 each.
pixel() {
    "$CONVERT" "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)] %[fx:int(255*p{$2,$3}.g+0.5)] %[fx:int(255*p{$2,$3}.b+0.5)]\n" info:
}

# has_colour FILE X Y WIDTH HEIGHT: whether any pixel of the rectangle is not black.
has_colour() {
    local brightest
    brightest=$("$CONVERT" "$1" -crop "$4x$5+$2+$3" +repage -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)
    [ "$brightest" != 0 ]
}

# differing_pixels A B [GEOMETRY]: how many pixels of the region (default the
# 320 x 240 window at the top-left) differ between two pictures.
differing_pixels() {
    local region=${3:-320x240+0+0}
    "$CONVERT" "$1" -crop "$region" +repage "$E2E_WORK/a.png"
    "$CONVERT" "$2" -crop "$region" +repage "$E2E_WORK/b.png"
    "$COMPARE" -metric AE "$E2E_WORK/a.png" "$E2E_WORK/b.png" null: 2>&1 | cut -d' ' -f1
}

# as_shown PICTURE OUTPUT: how the game shows a picture drawn 1:1 on black: magenta is transparent.
as_shown() {
    "$CONVERT" "$1" -alpha off -fill black -opaque magenta "png:$2"
}

# read_text FILE X Y ADVANCE: the text written with the test font whose first glyph
# starts at (X, Y), one glyph every ADVANCE pixels.
read_text() {
    local file=$1 x=$2 y=$3 advance=$4 text="" rgb cell
    while [ "$x" -lt 320 ]; do
        rgb=$(pixel "$file" "$x" "$y")
        set -- $rgb
        [ "$2" = 200 ] && [ "$3" = 100 ] || break
        cell=$1
        text+=$(printf "\\$(printf '%03o' $(( cell + 32 )))")
        x=$(( x + advance ))
    done
    printf '%s' "$text"
}

# count_lives FILE: the life symbols (cell 127) from x = 270, 7 pixels apart, in the band at y = 215.
count_lives() {
    local count=0 x=270
    while [ "$x" -lt 320 ] && [ "$(pixel "$1" "$x" 215)" = "127 200 100" ]; do
        count=$(( count + 1 ))
        x=$(( x + 7 ))
    done
    echo "$count"
}

# point_into_game: moves the pointer into the game's window, which gives it the keyboard.
point_into_game() {
    xdotool mousemove 100 100 > /dev/null 2>&1
}

# press KEY...: taps keys in the game's window.
press() {
    point_into_game
    xdotool key --delay 60 "$@"
}

# hold KEY... / release KEY...: keeps keys down until released.
hold() {
    point_into_game
    xdotool keydown "$@"
}

release() {
    xdotool keyup "$@" > /dev/null 2>&1
}

message_box() {
    xdotool search --class Xmessage 2> /dev/null | head -1
}

has_message_box() {
    [ -n "$(message_box)" ]
}

# dismiss_message SECONDS: waits for allegro_message's xmessage box and clicks its
# OK button, at the box's bottom left.
dismiss_message() {
    poll_until "$1" has_message_box || fail "no message box after $1 s"
    local box HEIGHT=0
    box=$(message_box)
    eval "$(xdotool getwindowgeometry --shell "$box" | grep '^HEIGHT=')"
    xdotool mousemove --window "$box" 15 $(( HEIGHT - 14 )) click 1 > /dev/null 2>&1
}

# message_text: the text the game handed to xmessage, while the box is open.
message_text() {
    local child
    local game
    game=$(pgrep -P "$E2E_GAME_PID" 2> /dev/null | head -1)
    [ -n "$game" ] || return 0
    for child in $(pgrep -P "$game" 2> /dev/null); do
        tr '\0' ' ' < "/proc/$child/cmdline" 2> /dev/null
    done
}

# dismiss_alert: an algl_alert in the game's window takes Return.
dismiss_alert() {
    press Return
}

# timed_shot [NAME]: like shot, but prints "FILE SECONDS", SECONDS being the wall-clock
# time (date +%s.%N) halfway through the capture, for measuring speeds on the screen.
timed_shot() {
    local count before after
    count=$(find "$E2E_WORK" -maxdepth 1 -name 'shot-*.png' | wc -l)
    local file="$E2E_WORK/shot-$(( count + 1 ))${1:+-$1}.png"
    # The picture is taken somewhere between before and after: a capture that a busy
    # machine slowed down blurs that time, and is taken again.
    local tries=0
    while true; do
        before=${EPOCHREALTIME/./}000
        grab "$E2E_WORK/timed.xwd" || fail "screenshot failed"
        after=${EPOCHREALTIME/./}000
        tries=$(( tries + 1 ))
        [ $(( after - before )) -lt 150000000 ] || [ "$tries" -ge 50 ] && break
    done
    "$CONVERT" "xwd:$E2E_WORK/timed.xwd" "png:$file" 2> /dev/null || fail "screenshot failed"
    local middle=$(( (before + after) / 2 ))
    printf '%s %d.%09d\n' "$file" $(( middle / 1000000000 )) $(( middle % 1000000000 ))
}

# colour_stats FILE GEOMETRY TOLERANCE COLOUR...: counts the pixels of the region
# WxH+X+Y whose red, green and blue each lie within TOLERANCE of those of one of the
# COLOURs ("r,g,b"). Prints "count left top right bottom", the box of those pixels in
# screen coordinates, or "0 -1 -1 -1 -1" when there is none.
colour_stats() {
    local file=$1
    shift
    "$CONVERT" "$file" -crop "$1" +repage -depth 8 rgb:- 2> /dev/null | count_colours "$@"
}

# count_colours GEOMETRY TOLERANCE COLOUR...: colour_stats for each of the regions,
# as raw RGB, one after the other on the standard input: a line for each.
count_colours() {
    local tolerance=$2
    [[ "$1" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "bad geometry $1"
    shift 2
    perl -e '
        my ($w, $h, $x0, $y0, $tol, @colours) = @ARGV;
        my %wanted;
        for my $colour (@colours) {
            my ($r, $g, $b) = split /,/, $colour;
            for my $dr (-$tol .. $tol) {
                for my $dg (-$tol .. $tol) {
                    for my $db (-$tol .. $tol) {
                        my ($R, $G, $B) = ($r + $dr, $g + $dg, $b + $db);
                        next if $R < 0 || $G < 0 || $B < 0 || $R > 255 || $G > 255 || $B > 255;
                        $wanted{pack("C3", $R, $G, $B)} = 1;
                    }
                }
            }
        }
        my ($data, $frames) = ("", 0);
        while (read(STDIN, $data, 3 * $w * $h) || !$frames) {
            my ($n, $l, $t, $r, $b) = (0, -1, -1, -1, -1);
            my $pixels = int(length($data) / 3);
            for my $i (0 .. $pixels - 1) {
                next unless $wanted{substr($data, 3 * $i, 3)};
                my ($x, $y) = ($x0 + $i % $w, $y0 + int($i / $w));
                $l = $x if $l < 0 || $x < $l;
                $r = $x if $x > $r;
                $t = $y if $t < 0;
                $b = $y;
                $n++;
            }
            print "$n $l $t $r $b\n";
            $frames++;
        }
    ' "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "${BASH_REMATCH[3]}" "${BASH_REMATCH[4]}" "$tolerance" "$@"
}

# picture_colours PICTURE: the colours of a picture other than the transparent magenta,
# one "r,g,b" a line, most frequent first.
picture_colours() {
    "$CONVERT" "$1" -alpha off -depth 8 -format %c histogram:info:- |
        sort -rn | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3/p' | grep -vx '255,0,255'
}

# ppm_to_bmp PPM BMP: a 24-bit BMP, which Allegro and its dat tool read.
ppm_to_bmp() {
    "$CONVERT" "ppm:$1" -alpha off -type TrueColor "BMP3:$2" || fail "cannot write $2"
    # Bits per pixel: the 16-bit word at byte 28 of the headers.
    local bits
    bits=$(od -An -tu2 -j28 -N2 "$2" | tr -d ' ')
    [ "$bits" = 24 ] || fail "$2 is not a 24-bit BMP (it has $bits bits per pixel)"
}

# build_datafile DATAFILE BMP...: an Allegro datafile holding the pictures as 32-bit
# bitmaps, object n being the n-th picture.
build_datafile() {
    command -v dat > /dev/null || fail "missing tool: dat (liballegro4-dev)"
    local out=$1
    shift
    rm -f "$out"
    dat -a -n0 -t BMP -bpp 32 "$out" "$@" > "$E2E_WORK/dat.log" 2>&1 || fail "dat failed: $(cat "$E2E_WORK/dat.log")"
    [ "$(dat -l "$out" 2> /dev/null | grep -c 'bitmap (.*32 bit)')" = $# ] || fail "dat did not store $# bitmaps: $(dat -l "$out" 2>&1)"
}

E2E_RECORDER_PID=""

# start_recording [SECONDS [PAUSE]]: grabs the screen over and over in the background,
# PAUSE seconds apart (default 0), into $E2E_WORK/record/<nanoseconds>.xwd, the time
# the grab began, until stop_recording or SECONDS (default 20). One process a frame:
# xwd writes the frame in place, and the pause is a read that times out on a pipe
# nobody writes to.
start_recording() {
    stop_recording
    RECORD_DIR="$E2E_WORK/record"
    rm -rf "$RECORD_DIR"
    mkdir -p "$RECORD_DIR"
    mkfifo "$RECORD_DIR/pause" || fail "cannot make a pipe in $RECORD_DIR"
    local limit=$(( $(date +%s) + ${1:-20} )) pause=${2:-0}
    (
        exec 3<> "$RECORD_DIR/pause"
        while [ "${EPOCHREALTIME%.*}" -lt "$limit" ]; do
            grab "$RECORD_DIR/${EPOCHREALTIME/./}000.xwd" || break
            [ "$pause" = 0 ] || read -r -t "$pause" -u 3
        done
    ) &
    E2E_RECORDER_PID=$!
}

# stop_recording: ends the recording; its last frame, perhaps cut short, is dropped.
stop_recording() {
    [ -n "$E2E_RECORDER_PID" ] || return 0
    kill "$E2E_RECORDER_PID" 2> /dev/null
    wait "$E2E_RECORDER_PID" 2> /dev/null
    E2E_RECORDER_PID=""
    rm -f "$(all_frames | tail -n 1)"
}

all_frames() {
    find "$RECORD_DIR" -maxdepth 1 -name '[0-9]*.xwd' | sort
}

# recorded_frames: the frames of the last recording, oldest first; while recording,
# all but the newest, which may still be being written.
recorded_frames() {
    if [ -n "$E2E_RECORDER_PID" ]; then
        all_frames | head -n -1
    else
        all_frames
    fi
}

# scan_recording GEOMETRY TOLERANCE MINIMUM COLOUR...: colour_stats over the frames
# recorded since the last scan, oldest first, deleting them as it goes, so that
# short events are seen however slowly the test looks. True at the first frame
# with at least MINIMUM such pixels: kept as $SEEN, its stats in STATS.
scan_recording() {
    local geometry=$1 tolerance=$2 minimum=$3 frames stats i
    shift 3
    local all=($(recorded_frames))
    while [ "${#all[@]}" -gt 0 ]; do
        frames=("${all[@]:0:50}")
        all=("${all[@]:50}")
        mapfile -t stats < <("$CONVERT" "${frames[@]}" -crop "$geometry" +repage -depth 8 rgb:- 2> /dev/null |
            count_colours "$geometry" "$tolerance" "$@")
        for i in "${!frames[@]}"; do
            STATS=(${stats[$i]:-0})
            if [ "${STATS[0]}" -ge "$minimum" ]; then
                SEEN="$E2E_WORK/seen-$(basename "${frames[$i]}")"
                mv "${frames[$i]}" "$SEEN"
                return 0
            fi
            rm -f "${frames[$i]}"
        done
    done
    return 1
}
