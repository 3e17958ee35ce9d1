#!/bin/bash
# Takes a picture of the game for the documentation: runs it on a private Xvfb at
# 960 x 720 from a copy of data/, presses a key to leave the intro, holds the given
# keys for the given number of seconds, and saves the window as docs/NAME.png.
#   tools/screenshot.sh NAME SECONDS [KEY...]     e.g. tools/screenshot.sh play 6 Right space
# The game binary is $SKIFF, by default build/skiff.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 2 ] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 NAME SECONDS [KEY...]" >&2
    exit 2
fi
name=$1
seconds=$2
shift 2
keys=("$@")

source "$root/scripts/game-on-xvfb.sh"
e2e_init "${SKIFF:-$root/build/skiff}" "$root/data"
start_xvfb 1280x1024x24
copy_data
write_config 960 720 0 0
start_game
wait_for_window 30

intro_shown() {
    has_colour "$(shot intro)" 0 0 960 720
}
poll_until 30 intro_shown || fail "the intro did not appear"
press x
[ ${#keys[@]} -eq 0 ] || hold "${keys[@]}"
sleep "$seconds"
game_running || fail "the game ended before the picture was taken"
mkdir -p "$root/docs"
xwd -root -silent | "$CONVERT" xwd:- -crop 960x720+0+0 +repage "png:$root/docs/$name.png" \
    || fail "cannot save docs/$name.png"
[ ${#keys[@]} -eq 0 ] || release "${keys[@]}"
hold Escape
wait_for_exit 20
release Escape
echo "docs/$name.png"
