#!/bin/bash
# The author's loop as the README tells it, from the source tree: skiff-level play imports a map
# into a level of its own, checks it and starts the build's game on it through the build's
# launcher; import, check and the launcher's --level do the same in steps. The map's tiles show,
# the shipped level stays as it was, and nothing is left behind, after Escape and after SIGTERM.
# A map with an error never opens a window.
#   test_level_play.sh SKIFF DATA_DIR    (the build directory is SKIFF's)
set -u
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
source_tree=$(dirname "$DATA") build=$(dirname "$SKIFF")
author=$E2E_WORK/author scratch=$E2E_WORK/tmp
mkdir -p "$author" "$scratch"
# The README's commands run in a tree of their own whose build/ and levels/ are the real ones.
ln -s "$build" "$author/build" && ln -s "$source_tree/levels" "$author/levels" || fail "cannot link the tree"
play_map="build/tools/skiff-level/skiff-level play levels/example/example.tmx"
import_map="build/tools/skiff-level/skiff-level import levels/example/example.tmx my-levels/example"
check_level="build/tools/skiff-level/skiff-level check my-levels/example"
play_level="build/run/skiff --level my-levels/example"
for command in "$play_map" "$import_map" "$check_level" "$play_level"; do
    grep -qxF "    $command" "$source_tree/README.md" || fail "the README no longer shows: $command"
done
ROCK=92,64,44

# The example map with its first alien moved into the rock of the floor.
sed 's|gid="5" x="420" y="126"|gid="5" x="420" y="200"|' "$source_tree/levels/example/example.tmx" > "$author/rocky.tmx"
cp "$source_tree/levels/example/"{tiles.png,ufo.bmp} "$author/"
grep -q 'x="420" y="200"' "$author/rocky.tmx" || fail "the example map's first alien is not where the test moves it from"
shipped=$(cd "$DATA" && find level0 -type f -exec sha1sum {} + | sort)

# rock_shown: a key has left the intro and the map's rock fills a good part of the screen.
rock_shown() {
    press Return
    [ "$("$CONVERT" "$(shot)" -fuzz 3% -fill black +opaque "rgb($ROCK)" -fill white -opaque "rgb($ROCK)" \
        -format '%[fx:int(mean*w*h)]' info:)" -gt 20000 ]
}

# start COMMAND: a README command in the author's tree, in the background.
start() {
    (cd "$author" && exec env TMPDIR="$scratch" timeout -s KILL 120 $1) > "$E2E_WORK/game.out" 2> "$E2E_WORK/game.err" &
    E2E_GAME_PID=$!
}

# in_scratch: the processes working in the scratch directory, a game among them, even where a
# launcher killed too hard left it behind; other tests' games work elsewhere.
in_scratch() {
    local link
    for link in /proc/[0-9]*/cwd; do
        case $(readlink "$link" 2> /dev/null) in "$scratch"/*) echo "${link//[^0-9]/}" ;; esac
    done
}

left_nothing() {
    [ -z "$(ls -A "$scratch")" ] && [ -z "$(in_scratch)" ]
}
trap 'in_scratch | xargs -r kill -KILL 2> /dev/null; e2e_cleanup' EXIT

# terminate WHO: SIGTERM to the command started, and to it alone (timeout would pass a signal of its
# own to its whole process group), ends the game, not as a success, and leaves nothing.
terminate() {
    local command
    command=$(pgrep -P "$E2E_GAME_PID") && kill -TERM "$command" || fail "$1 is not running"
    wait_for_exit 20
    [ "$E2E_STATUS" != 0 ] || fail "a game ended by SIGTERM to $1 reported success"
    poll_until 10 left_nothing || fail "$1 left behind after SIGTERM: $(ls -A "$scratch") $(in_scratch)"
}

start_xvfb 1280x1024x24
start "$play_map"
wait_for_window 30
poll_until 30 rock_shown || fail "the map's tiles do not show; $(game_err)"
quit
grep -q '^0 errors, 0 warnings$' "$E2E_WORK/game.out" && [ ! -s "$E2E_WORK/game.err" ] \
    || fail "the example map did not import without a word: $(cat "$E2E_WORK/game.out" "$E2E_WORK/game.err")"
poll_until 10 left_nothing || fail "left behind: $(ls -A "$scratch") $(in_scratch)"

(cd "$author" && $import_map && $check_level) > "$E2E_WORK/steps.log" 2>&1 || fail "import or check: $(cat "$E2E_WORK/steps.log")"
[ "$(ls "$author/my-levels/example")" = "$(printf 'aliens.def\nlevel.dat\nlevel.def\nufo.bmp')" ] \
    || fail "the level directory holds: $(ls "$author/my-levels/example")"
start "$play_level"
wait_for_window 30
poll_until 30 rock_shown || fail "the imported level's tiles do not show; $(game_err)"
terminate launcher

start "build/tools/skiff-level/skiff-level play my-levels/example"
wait_for_window 30
poll_until 30 rock_shown || fail "a level directory played with skiff-level does not show; $(game_err)"
quit
poll_until 10 left_nothing || fail "playing a level directory left behind: $(ls -A "$scratch")"

start "$play_map"
wait_for_window 30
terminate play

start "build/tools/skiff-level/skiff-level play rocky.tmx"
wait_for_exit 20
[ "$E2E_STATUS" = 1 ] || fail "a map with an error played on (status $E2E_STATUS)"
grep -q 'rocky.tmx:[0-9]*: error: .*inside solid terrain' "$E2E_WORK/game.err" || fail "the error does not name the map: $(game_err)"
! xdotool search --name '^skiff$' > /dev/null 2>&1 || fail "a window opened for a map with an error"
poll_until 10 left_nothing || fail "left behind after an error: $(ls -A "$scratch")"

[ "$(cd "$DATA" && find level0 -type f -exec sha1sum {} + | sort)" = "$shipped" ] || fail "data/level0 changed"
echo PASS
