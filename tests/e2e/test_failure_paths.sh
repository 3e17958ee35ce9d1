#!/bin/bash
# What the player sees when the game cannot run: no display, a display without
# OpenGL or a missing intro picture end with a message and status 255 (-1); a level
# that cannot be loaded ends with visible alerts and status 0.
source "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2"
start_xvfb
copy_data

# No display at all: the message goes to the console (Allegro prints it on stdout).
check_without_display() {
    start_game "$@"
    wait_for_exit 30
    [ "$E2E_STATUS" = 255 ] || fail "without a display ($*) the status is $E2E_STATUS, not 255"
    cat "$E2E_WORK/game.out" "$E2E_WORK/game.err" | grep -q "Unable to set screen mode" \
        || fail "without a display ($*) the console shows: $(cat "$E2E_WORK/game.out" "$E2E_WORK/game.err")"
}
check_without_display -u DISPLAY
unused=987
while [ -e "/tmp/.X11-unix/X$unused" ]; do unused=$(( unused + 1 )); done
check_without_display DISPLAY=":$unused"

MESSAGE=""
message_shown() {
    MESSAGE=$(message_text)
    [ -n "$MESSAGE" ]
}

# The intro picture is missing: the game gets as far as the intro, then gives up.
mv "$GAME_DIR/intro/intro.pcx" "$GAME_DIR/intro/intro.pcx.away"
start_game
poll_until 30 message_shown || fail "no message box for the missing intro; stderr: $(cat "$E2E_WORK/game.err")"
[[ "$MESSAGE" == *"Unable to load intro/intro.pcx"* ]] || fail "unexpected message: $MESSAGE"
dismiss_message 5
wait_for_exit 30
[ "$E2E_STATUS" = 255 ] || fail "without intro/intro.pcx the status is $E2E_STATUS, not 255"
mv "$GAME_DIR/intro/intro.pcx.away" "$GAME_DIR/intro/intro.pcx"

# The level cannot be loaded: visible alerts, each taken with Return, then status 0.
mv "$GAME_DIR/level0/level.def" "$GAME_DIR/level0/level.def.away"
start_game
wait_for_window 30
alert_shown() {
    game_stopped && return 0
    ALERT_SHOT=$(shot alert)
    has_colour "$ALERT_SHOT" 0 0 320 240
}
poll_until 30 alert_shown || fail "the game waits, but no alert is visible ($ALERT_SHOT)"
game_running || fail "the game ended without showing an alert"
take_alerts() {
    game_stopped && return 0
    dismiss_alert
    return 1
}
poll_until 30 take_alerts || fail "Return does not take the level alerts away"
wait_for_exit 30
[ "$E2E_STATUS" = 0 ] || fail "after the level alerts the status is $E2E_STATUS, not 0"

# An X display without OpenGL: no mode can be set, the message box gives Allegro's
# reason, and the game ends with 255 before it loads anything.
start_xvfb 1024x768x24 -extension GLX
start_game
poll_until 30 message_shown || fail "no message box on a display without GLX; stderr: $(cat "$E2E_WORK/game.err")"
[[ "$MESSAGE" == *"Unable to set screen mode: "?* ]] || fail "unexpected message: $MESSAGE"
dismiss_message 5
wait_for_exit 30
[ "$E2E_STATUS" = 255 ] || fail "after a failed screen mode the status is $E2E_STATUS, not 255"
echo "PASS"
