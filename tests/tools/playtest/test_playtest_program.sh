#!/bin/bash
# The skiff-playtest program, with the renderer it ships with, plays the shipped level as the
# in-process tests do: the autopilot reaches the end and shoots down more than half the aliens.
#   test_playtest_program.sh SKIFF_PLAYTEST DATA_DIR
set -u
report=$(cd "$2" && "$1" --autopilot) || { echo "FAIL: skiff-playtest failed"; exit 1; }
number() { sed -n "s/^$1: \([0-9]*\)$/\1/p" <<< "$report"; }
placed=$(number "aliens placed") shot=$(number "aliens destroyed by shots")
grep -qx "end reached: yes" <<< "$report" || { echo "FAIL: the end was not reached"; echo "$report"; exit 1; }
[ -n "$placed" ] && [ -n "$shot" ] && [ $((shot * 2)) -gt "$placed" ] ||
    { echo "FAIL: ${shot:-no} aliens shot of ${placed:-no} placed"; echo "$report"; exit 1; }
echo "the autopilot finished and shot $shot of $placed aliens"
