# The game driven on a private Xvfb display, sourced by the end-to-end tests (tests/e2e/test_*.sh) and
# tools/screenshot.sh. A script runs the real game from a copy of the data directory, does what a
# player does, and waits for what must be seen, up to a deadline.
CONVERT=/usr/bin/convert
COMPARE=/usr/bin/compare
E2E_WORK="" E2E_XVFB_PID="" E2E_GAME_PID="" E2E_RECORDER_PID="" E2E_STATUS="" E2E_FAILED=0

fail() { echo "FAIL: $*" >&2; E2E_FAILED=1; exit 1; }
game_running() { kill -0 "$E2E_GAME_PID" 2> /dev/null; }
game_stopped() { ! game_running; }
game_err() { echo "the game's stderr: $(cat "$E2E_WORK/game.err" 2> /dev/null)"; }

# e2e_init SKIFF DATA: checks the arguments and the tools, makes the work directory.
e2e_init() {
    SKIFF=$(realpath "$1" 2>/dev/null) && [ -x "$SKIFF" ] || fail "usage: $0 path-to-skiff path-to-data"
    DATA=$(realpath "$2" 2>/dev/null) && [ -d "$DATA" ] || fail "usage: $0 path-to-skiff path-to-data"
    local tool
    for tool in Xvfb xdotool xwd dat "$CONVERT" "$COMPARE"; do
        command -v "$tool" > /dev/null || fail "missing tool: $tool (scripts/install-deps test)"
    done
    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/skiff-e2e-XXXXXX") || fail "cannot make a work directory"
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    set +e
    stop_recording
    kill_game
    [ -z "$E2E_XVFB_PID" ] || kill "$E2E_XVFB_PID"
    if [ "$E2E_FAILED" = 1 ] || [ -n "${E2E_KEEP:-}" ]; then echo "work directory kept: $E2E_WORK" >&2; else rm -rf "$E2E_WORK"; fi
}

# start_xvfb [WIDTHxHEIGHTxDEPTH [XVFB-OPTION...]]: a new private X server, by default
# as large as the game's window; sets DISPLAY. Xvfb reports its display once ready.
start_xvfb() {
    local screen=${1:-320x240x24}
    shift $(( $# > 0 ? 1 : 0 ))
    [ -z "$E2E_XVFB_PID" ] || { kill "$E2E_XVFB_PID"; wait "$E2E_XVFB_PID"; } 2> /dev/null
    : > "$E2E_WORK/display"
    Xvfb -displayfd 1 -screen 0 "$screen" -nolisten tcp -noreset "$@" > "$E2E_WORK/display" 2> "$E2E_WORK/xvfb.log" &
    E2E_XVFB_PID=$!
    poll_until 20 grep -q '^[0-9]' "$E2E_WORK/display" || fail "Xvfb did not start: $(tail -3 "$E2E_WORK/xvfb.log")"
    export DISPLAY=":$(head -1 "$E2E_WORK/display")"
}

# poll_until SECONDS COMMAND...: runs COMMAND until it succeeds; false after SECONDS.
poll_until() {
    local deadline=$(( ${EPOCHREALTIME/./} + $1 * 1000000 ))
    shift
    until "$@"; do
        [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# copy_data: a fresh copy of the data in $GAME_DIR, with the game beside its allegro.cfg
# (Allegro reads it from the executable's directory), for a 320x240 window.
copy_data() {
    GAME_DIR="$E2E_WORK/data"
    rm -rf "$GAME_DIR"
    cp -r "$DATA" "$GAME_DIR" && cp "$SKIFF" "$GAME_DIR/skiff" || fail "cannot copy the game and its data"
    write_config 320 240 0 0
}

# write_config WIDTH HEIGHT FULLSCREEN FILTERING: the game's allegro.cfg.
write_config() {
    printf '[engineparams]\nscreenwidth = %s\nscreenheight = %s\nfullScreen = %s\ntextureFiltering = %s\n' "$@" > "$GAME_DIR/allegro.cfg"
}

# picture FILE WIDTH HEIGHT [COLOUR [DRAW...]]: a 24-bit BMP filled with COLOUR (by default
# magenta, which is transparent), then drawn on.
picture() {
    local file=$1 size=$2x$3 colour=${4:-255,0,255}
    shift $(( $# < 4 ? $# : 4 ))
    "$CONVERT" -size "$size" "xc:rgb($colour)" +antialias "$@" -type TrueColor "BMP3:$file" || fail "cannot write $file"
}

# use_test_font: cell n of the font draws only its leftmost column, in rgb(n,200,100),
# so that bottom_text can read the text back.
use_test_font() {
    local draw=() cell
    for cell in $(seq 0 255); do
        draw+=(-fill "rgb($cell,200,100)" -draw "line $(( cell % 16 * 16 )),$(( cell / 16 * 16 )) $(( cell % 16 * 16 )),$(( cell / 16 * 16 + 15 ))")
    done
    picture "$GAME_DIR/bmp/fontes.bmp" 256 256 255,0,255 "${draw[@]}"
}

# The colours of use_test_sprites as shown: explosions are drawn at 90 % opacity.
SHIP=0,0,255 SHOT=255,255,0 FIRE=230,0,0 ALIEN=0,255,255 BURST=0,230,0

# use_test_sprites [FLOOR_ROW]: the ship (two frames of 24x12), its shot (10x4), the two
# explosions (frames of 32x32 and 24x24) and the alien (16x16), each of one colour; and
# a level of 60x15 tiles of 16, empty above FLOOR_ROW (default 15, no floor), slate below.
use_test_sprites() {
    picture "$GAME_DIR/bmp/player.bmp" 24 24 "$SHIP"
    picture "$GAME_DIR/bmp/shoot.bmp" 10 4 "$SHOT"
    picture "$GAME_DIR/bmp/boom.bmp" 32 256 255,0,0
    picture "$GAME_DIR/bmp/boom2.bmp" 24 168 0,255,0
    picture "$GAME_DIR/bmp/alien.bmp" 16 16 "$ALIEN"
    picture "$E2E_WORK/tiles.bmp" 16 32 255,0,255 -fill 'rgb(50,50,70)' -draw 'rectangle 0,16 15,31'
    build_datafile "$GAME_DIR/level0/level.dat" "$E2E_WORK/tiles.bmp"
    awk -v floor="${1:-15}" 'BEGIN {
        print "LEVELDEF Test\n{ tileset 0 16 60 15"
        for (r = 0; r < 15; r++) { for (c = 0; c < 60; c++) printf "%d ", (r >= floor); print "" }
        print "}" }' > "$GAME_DIR/level0/level.def"
    printf 'ALIENPROTOS 0\nALIENDEF 0\n' > "$GAME_DIR/level0/aliens.def"
}

# build_datafile DATAFILE BMP...: an Allegro datafile of the pictures as 32-bit bitmaps, in order.
build_datafile() {
    local out=$1
    shift
    rm -f "$out"
    dat -a -n0 -t BMP -bpp 32 "$out" "$@" > "$E2E_WORK/dat.log" 2>&1 \
        && [ "$(dat -l "$out" 2> /dev/null | grep -c 'bitmap (.*32 bit)')" = $# ] || fail "dat failed: $(cat "$E2E_WORK/dat.log")"
}

# start_game [ENV=VALUE...]: the game in $GAME_DIR, in the background, killed after
# GAME_TIMEOUT seconds (default 120) whatever happens.
start_game() {
    (cd "$GAME_DIR" && exec env "$@" timeout -s KILL "${GAME_TIMEOUT:-120}" "$GAME_DIR/skiff") \
        > "$E2E_WORK/game.out" 2> "$E2E_WORK/game.err" &
    E2E_GAME_PID=$!
}

kill_game() {
    [ -n "$E2E_GAME_PID" ] || return 0
    pkill -KILL -P "$E2E_GAME_PID"
    kill -KILL "$E2E_GAME_PID"
    wait "$E2E_GAME_PID"
    E2E_GAME_PID=""
} 2> /dev/null

# wait_for_exit SECONDS: E2E_STATUS is the game's exit status; fails at the deadline.
wait_for_exit() {
    stop_recording
    poll_until "$1" game_stopped || { kill_game; fail "the game did not end within $1 s"; }
    wait "$E2E_GAME_PID"
    E2E_STATUS=$? E2E_GAME_PID=""
}

has_game_window() {
    game_running || fail "the game ended early; $(game_err)"
    xdotool search --name '^skiff$' > /dev/null 2>&1
}

wait_for_window() {
    poll_until "$1" has_game_window || fail "no game window after $1 s"
}

# grab FILE: the screen as xwd, taken again when X refuses it (BadDrawable while a window changes).
grab() {
    local try
    for try in 1 2 3 4 5; do
        xwd -root -silent > "$1" 2> /dev/null && [ -s "$1" ] && return 0
        sleep 0.05
    done
    return 1
}

# shot [NAME]: a new screenshot as PNG in the work directory; prints its path.
shot() {
    local file
    file=$(mktemp --suffix=.png "$E2E_WORK/shot-${1:+$1-}XXXX")
    grab "$file.xwd" && "$CONVERT" "xwd:$file.xwd" "png:$file" 2> /dev/null || fail "screenshot failed"
    rm -f "$file.xwd"
    echo "$file"
}

# has_colour FILE X Y WIDTH HEIGHT: whether any pixel of the rectangle is not black.
has_colour() {
    [ "$("$CONVERT" "$1" -crop "$4x$5+$2+$3" +repage -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" != 0 ]
}

# differing_pixels A B [GEOMETRY]: how many pixels of the region (default the window) differ.
differing_pixels() {
    "$COMPARE" -metric AE "$1[${3:-320x240+0+0}]" "$2[${3:-320x240+0+0}]" null: 2>&1
}

# shows_intro: the screen shows intro.pcx 1:1 at the top left, its magenta black.
shows_intro() {
    [ -s "$E2E_WORK/intro.png" ] || "$CONVERT" "$GAME_DIR/intro/intro.pcx" -alpha off -fill black -opaque magenta "png:$E2E_WORK/intro.png"
    INTRO_SHOT=$(shot intro)
    [ "$(differing_pixels "$INTRO_SHOT" "$E2E_WORK/intro.png")" = 0 ]
}

# window_of_size WIDTHxHEIGHT: the game's window is up, of that size, at the top left.
window_of_size() {
    has_game_window && xwininfo -root -children 2> /dev/null | grep -q " $1+0+0 "
}

# stretched_intro_shows WIDTHxHEIGHT: the data's intro stretched over a window of that size, give or
# take 1 % of its pixels (an alert box differs far more).
stretched_intro_shows() {
    [ -s "$E2E_WORK/stretched-intro.png" ] \
        || "$CONVERT" "$DATA/intro/intro.pcx" -alpha off -fill black -opaque magenta "png:$E2E_WORK/stretched-intro.png"
    "$CONVERT" "$(shot)" -crop "$1+0+0" +repage -sample '320x240!' "$E2E_WORK/intro-small.png"
    [ "$("$COMPARE" -metric AE -fuzz 10% "$E2E_WORK/intro-small.png" "$E2E_WORK/stretched-intro.png" null: 2>&1)" -lt 768 ] \
        2> /dev/null
}

left_intro() {
    game_running || fail "the game ended; $(game_err)"
    press x
    [ "$(differing_pixels "$(shot)" "$E2E_WORK/intro.png")" -gt 1000 ]
}

# play: starts the game and leaves its intro with a key.
play() {
    start_game
    wait_for_window 30
    poll_until 30 shows_intro || fail "the intro is not shown 1:1 at the top left ($INTRO_SHOT)"
    poll_until 30 left_intro || fail "a key does not leave the intro"
}

# quit: holding Escape ends the game with status 0.
quit() {
    game_running || fail "the game ended before Escape; $(game_err)"
    hold Escape
    wait_for_exit 20
    release Escape
    [ "$E2E_STATUS" = 0 ] || fail "Escape ended the game with status $E2E_STATUS, not 0"
}

# bottom_text FILE: the test font's text from (16, 215), 5 pixels a glyph, and a space
# and the number of life symbols (cell 127) from x = 270, 7 pixels apart.
bottom_text() {
    "$CONVERT" "$1" -crop 320x1+0+215 -depth 8 rgb:- | perl -e '
        local $/; my @p = unpack("C*", <STDIN>); my ($text, $lives) = ("", 0);
        sub cell { my $i = 3 * $_[0]; $p[$i + 1] == 200 && $p[$i + 2] == 100 ? $p[$i] : -1 }
        for (my $x = 16; cell($x) >= 0; $x += 5) { $text .= chr(cell($x) + 32) }
        $lives++ while cell(270 + 7 * $lives) == 127;
        print "$text $lives";'
}

# press KEY... / hold KEY... / release KEY...: keys for the game's window, which has the
# keyboard while the pointer is in it (there is no window manager).
press() { xdotool mousemove 100 100 key --delay 60 "$@"; }
hold() { xdotool mousemove 100 100 keydown "$@"; }
release() { xdotool keyup "$@" > /dev/null 2>&1; }

# start_recording / stop_recording: grabs the screen over and over in the background,
# 20 ms apart, into $RECORD_DIR/<microseconds>.xwd (the pause is a read that times out on
# a pipe nobody writes to), for see. Stopping drops the last frame, which may be cut short.
start_recording() {
    RECORD_DIR="$E2E_WORK/record"
    rm -rf "$RECORD_DIR"
    mkdir -p "$RECORD_DIR" && mkfifo "$RECORD_DIR/pause" || fail "cannot make $RECORD_DIR"
    (
        exec 3<> "$RECORD_DIR/pause"
        while grab "$RECORD_DIR/${EPOCHREALTIME/./}.xwd"; do read -r -t 0.02 -u 3; done
    ) &
    E2E_RECORDER_PID=$!
}

stop_recording() {
    [ -n "$E2E_RECORDER_PID" ] || return 0
    kill "$E2E_RECORDER_PID"
    wait "$E2E_RECORDER_PID"
    E2E_RECORDER_PID=""
    rm -f "$(ls "$RECORD_DIR"/*.xwd | tail -n 1)"
} 2> /dev/null

# see SECONDS WHAT GEOMETRY COLOUR [MINIMUM [MAXIMUM]]: waits for a frame with MINIMUM
# (default 1) to MAXIMUM pixels of COLOUR ("r,g,b", give or take 10 %) in the region
# WxH+X+Y, taken within SECONDS from now, or fails. The screen is recorded from the first
# call on, and each call looks at every frame after the one the last call saw, so events
# of a few frames, and their order, are seen however slowly the frames are read.
see() {
    local deadline=$(( ${EPOCHREALTIME/./} + $1 * 1000000 )) frames stats i time
    [ -n "$E2E_RECORDER_PID" ] || start_recording
    while true; do
        game_running || stop_recording
        # While recording, the newest frame may still be being written.
        frames=($(ls "$RECORD_DIR"/*.xwd 2> /dev/null | head -n -$(( E2E_RECORDER_PID > 0 )) | head -n 40))
        if [ "${#frames[@]}" = 0 ]; then
            [ -n "$E2E_RECORDER_PID" ] || fail "the game ended before $2 was seen; $(game_err)"
            sleep 0.1
            continue
        fi
        mapfile -t stats < <("$CONVERT" "${frames[@]}" -crop "$3" +repage -fuzz 10% -fill white -opaque "rgb($4)" \
            -fuzz 0 -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]\n' info: 2> /dev/null)
        [ "${#stats[@]}" = "${#frames[@]}" ] || fail "cannot read the recorded frames ${frames[*]}"
        for i in "${!frames[@]}"; do
            time=${frames[$i]##*/}
            [ "${time%.xwd}" -le "$deadline" ] || fail "$2 not seen within $1 s"
            rm -f "${frames[$i]}"
            [ "${stats[$i]}" -lt "${5:-1}" ] || [ "${stats[$i]}" -gt "${6:-${stats[$i]}}" ] || return 0
        done
    done
}
