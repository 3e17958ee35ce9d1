#!/bin/bash
# The launchers, installed into a scratch root and the build tree's: their command line, which
# touches nothing; --level DIR playing a scratch level with nothing of the player's made or
# changed, its temporary directory gone after Escape and after SIGTERM to the launcher; and the
# build tree's launcher playing the source tree's data/.
#   test_launcher.sh SKIFF DATA_DIR BUILD_LAUNCHER    (the build directory is SKIFF's)
set -u
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
build_launcher=$(realpath "$3") && [ -x "$build_launcher" ] || fail "no build launcher at $3"
build=$(dirname "$SKIFF") work=$E2E_WORK dest=$E2E_WORK/dest
DESTDIR=$dest cmake --install "$build" --prefix /usr > "$work/install.log" 2>&1 || fail "cmake --install: $(cat "$work/install.log")"
launcher=$dest/usr/games/skiff gamedata=$(realpath "$dest/usr/share/games/skiff")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
home=$work/home tmp=$work/tmp
userdir=$home/.local/share/skiff
mkdir -p "$home" "$tmp" "$work/not-a-level"

# run LAUNCHER ARG...: the launcher, started in the work directory with HOME and TMPDIR of its own.
run() {
    (cd "$work" && exec env -u XDG_DATA_HOME HOME="$home" TMPDIR="$tmp" "$@")
}

# --- The command line: answers on stdout or stderr, the status, and nothing made.
# answers STATUS STDOUT STDERR LAUNCHER ARG...: what the launcher prints and its status.
answers() {
    local status=$1 out=$2 err=$3 launcher=$4
    shift 4
    run "$launcher" "$@" > "$work/cli.out" 2> "$work/cli.err"
    local got=$?
    [ "$got" = "$status" ] || fail "$launcher $*: status $got, not $status"
    [ "$(cat "$work/cli.out")" = "$out" ] || fail "$launcher $*: stdout is '$(cat "$work/cli.out")', not '$out'"
    [ "$(cat "$work/cli.err")" = "$err" ] || fail "$launcher $*: stderr is '$(cat "$work/cli.err")', not '$err'"
}

hint="Try 'skiff --help' for more information."
for each in "$launcher" "$build_launcher"; do
    run "$each" --help > "$work/help" 2> "$work/help.err" && [ ! -s "$work/help.err" ] || fail "$each --help failed"
    [ "$(head -n 1 "$work/help")" = "Usage: skiff [--level DIR]" ] || fail "$each --help: $(cat "$work/help")"
    for option in --level -h --help --version; do
        grep -qe "$option" "$work/help" || fail "$each --help does not name $option"
    done
    answers 0 "$(cat "$work/help")" "" "$each" -h
    answers 0 "skiff $version" "" "$each" --version
    answers 2 "" "skiff: unknown option '--frob'"$'\n'"$hint" "$each" --frob
    answers 2 "" "skiff: unexpected argument 'x'"$'\n'"$hint" "$each" x
    answers 2 "" "skiff: unexpected argument 'x'"$'\n'"$hint" "$each" --level not-a-level x
    answers 2 "" "skiff: option '--level' needs a directory"$'\n'"$hint" "$each" --level
    answers 1 "" "skiff: 'not-a-level' is not a level directory: it holds no level.def" "$each" --level=not-a-level
    answers 1 "" "skiff: 'nowhere' is not a level directory: it holds no level.def" "$each" --level nowhere
done
[ ! -e "$home/.local" ] || fail "the command line alone made $(find "$home/.local")"
[ -z "$(ls -A "$tmp")" ] || fail "the command line alone made $(ls -A "$tmp")"

# --- Playing a level of one's own
start_xvfb 1280x1024x24
# The scratch level's bottom three rows of tiles are orange, which the shipped level never fills a row with.
ORANGE=255,128,0
mkdir -p "$work/mine"
picture "$work/tiles.bmp" 16 32 255,0,255 -fill "rgb($ORANGE)" -draw 'rectangle 0,16 15,31'
build_datafile "$work/mine/level.dat" "$work/tiles.bmp"
awk 'BEGIN {
    print "LEVELDEF Mine\n{ tileset 0 16 60 15"
    for (r = 0; r < 15; r++) { for (c = 0; c < 60; c++) printf "%d ", (r >= 12); print "" }
    print "}" }' > "$work/mine/level.def"
printf 'ALIENPROTOS 0\nALIENDEF 0\n' > "$work/mine/aliens.def"

# start LAUNCHER ARG...: the launcher in the background, killed with its game after 120 s whatever
# happens; E2E_GAME_PID is timeout's, whose child is the launcher.
start() {
    (cd "$work" && exec env -u XDG_DATA_HOME HOME="$home" TMPDIR="$tmp" timeout -s KILL 120 "$@") \
        > "$work/game.out" 2> "$work/game.err" &
    E2E_GAME_PID=$!
}


# mine_shows WIDTHxHEIGHT: after a key, orange fills nine tenths of the window's bottom fifth.
mine_shows() {
    local width=${1%x*} height=${1#*x} share
    press Return
    share=$("$CONVERT" "$(shot)" -crop "${width}x$(( height / 5 ))+0+$(( height * 4 / 5 ))" +repage -fuzz 10% \
        -fill white -opaque "rgb($ORANGE)" -fuzz 0 -fill black +opaque white -format '%[fx:mean]' info:)
    awk -v share="$share" 'BEGIN { exit !(share >= 0.9) }'
}

# plays_mine SIZE DATA: the game shows the scratch level in a window of SIZE, from a temporary
# directory under TMPDIR of links to DATA's pictures and to the level.
plays_mine() {
    poll_until 30 window_of_size "$1" || fail "no window of $1; $(game_err)"
    poll_until 30 mine_shows "$1" || fail "the scratch level does not show in $1"
    local dirs=("$tmp"/*)
    [ "${#dirs[@]}" = 1 ] && [ -d "${dirs[0]}" ] || fail "not one temporary directory: ${dirs[*]}"
    [ "$(cd "${dirs[0]}" && ls | tr '\n' ' ')" = "bmp intro level0 " ] || fail "the temporary directory holds $(ls "${dirs[0]}")"
    [ "$(readlink "${dirs[0]}/level0")" = "$work/mine" ] || fail "level0 links to $(readlink "${dirs[0]}/level0")"
    for entry in intro bmp; do
        [ "$(realpath "${dirs[0]}/$entry")" = "$2/$entry" ] || fail "$entry links to $(readlink "${dirs[0]}/$entry"), not $2"
    done
}

left_behind() {
    [ -n "$(ls -A "$tmp")" ]
}

ended() {
    ! kill -0 "$1" 2> /dev/null
}

# From a home without a player's directory: the installed data's allegro.cfg, no player's directory made.
start "$launcher" --level mine
plays_mine 960x720 "$gamedata"
quit
! left_behind || fail "the temporary directory is left after Escape: $(ls -A "$tmp")"
[ ! -e "$home/.local" ] || fail "--level made $(find "$home/.local")"
diff -r "$DATA" "$gamedata" > /dev/null || fail "the installed data changed"

# A player's own allegro.cfg is read, and their directory left as it is; SIGTERM to the launcher
# ends the game and removes the temporary directory, and the launcher dies of it.
mkdir -p "$userdir"
printf '[engineparams]\nscreenwidth = 640\nscreenheight = 480\nfullScreen = 0\ntextureFiltering = 0\n' > "$userdir/allegro.cfg"
start "$launcher" --level="$work/mine"
plays_mine 640x480 "$gamedata"
shell=$(pgrep -P "$E2E_GAME_PID") game=$(pgrep -P "$shell")
[ "$(readlink "/proc/$game/exe")" = "$(realpath "$dest/usr/lib/games/skiff/skiff")" ] \
    || fail "the launcher's child is not the game: $(ps -o args= -p "$game")"
kill -TERM "$shell"
poll_until 20 ended "$game" || fail "the game goes on after SIGTERM to the launcher"
poll_until 20 eval '! left_behind' || fail "the temporary directory is left after SIGTERM: $(ls -A "$tmp")"
wait_for_exit 20
[ "$E2E_STATUS" = $(( 128 + 15 )) ] || fail "the launcher ended with $E2E_STATUS, not by SIGTERM"
[ "$(ls -A "$userdir")" = allegro.cfg ] || fail "--level changed the player's directory: $(ls -A "$userdir")"

# --- The build tree's launcher: the source tree's data/ and its allegro.cfg, no player's directory.
rm -rf "$home/.local"
start "$build_launcher" --level mine
plays_mine 960x720 "$DATA"
quit
! left_behind || fail "the build launcher leaves its temporary directory: $(ls -A "$tmp")"
start "$build_launcher"
poll_until 30 window_of_size 960x720 || fail "the build launcher opens no window of 960x720; $(game_err)"
poll_until 30 stretched_intro_shows 960x720 || fail "the build launcher does not show the intro"
quit
[ ! -e "$home/.local" ] || fail "the build launcher made $(find "$home/.local")"
echo PASS
