#!/bin/bash
# When the game cannot run it says why and ends with status 255: without a display, on
# the console; without intro/intro.pcx, or on a display without OpenGL, in a message box.
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
start_xvfb 1024x768x24
copy_data

# fails_with MESSAGE console|box [ENV=VALUE...]: the game shows MESSAGE there and ends with 255.
fails_with() {
    local message=$1 where=$2
    shift 2
    start_game "$@"
    if [ "$where" = box ]; then
        poll_until 30 message_box_says "$message" || fail "no message box saying \"$message\": '$SAID'; stderr: $(cat "$E2E_WORK/game.err")"
        # Its OK button is at its bottom left.
        eval "$(xdotool getwindowgeometry --shell "$BOX" | grep '^HEIGHT=')"
        xdotool mousemove --window "$BOX" 15 $(( HEIGHT - 14 )) click 1
    fi
    wait_for_exit 30
    [ "$E2E_STATUS" = 255 ] || fail "the status is $E2E_STATUS, not 255, after \"$message\" ($*)"
    [ "$where" = box ] || grep -q "$message" "$E2E_WORK/game.out" "$E2E_WORK/game.err" \
        || fail "the console does not say \"$message\" ($*): $(cat "$E2E_WORK/game.out" "$E2E_WORK/game.err")"
}

# message_box_says TEXT: allegro_message's xmessage, started by the game, shows TEXT.
message_box_says() {
    SAID=$(pgrep -a -P "$(pgrep -d, -P "$E2E_GAME_PID")" 2> /dev/null)
    BOX=$(xdotool search --class Xmessage 2> /dev/null | head -1)
    [[ "$SAID" == *"$1"* ]] && [ -n "$BOX" ]
}

unused=987
while [ -e "/tmp/.X11-unix/X$unused" ]; do unused=$(( unused + 1 )); done
fails_with "Unable to set screen mode" console -u DISPLAY
fails_with "Unable to set screen mode" console DISPLAY=":$unused"
mv "$GAME_DIR/intro/intro.pcx" "$E2E_WORK/intro.pcx"
fails_with "Unable to load intro/intro.pcx" box
mv "$E2E_WORK/intro.pcx" "$GAME_DIR/intro/intro.pcx"
start_xvfb 1024x768x24 -extension GLX
fails_with "Unable to set screen mode: " box
echo PASS
