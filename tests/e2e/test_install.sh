#!/bin/bash
# Installs the build into a scratch root and checks the installed tree, plays
# the installed launcher from an empty home on a private X server, and checks
# that the Debian package holds the same files.
#   test_install.sh SKIFF DATA_DIR    (the build directory is SKIFF's)
set -u
. "$(dirname "$0")/lib.sh"

e2e_init "$1" "$2"
build=$(dirname "$SKIFF")
data=$DATA
source_dir=$(cd "$data/.." && pwd)
work=$E2E_WORK
identify=/usr/bin/identify

# --- The installed tree ----------------------------------------------------

dest=$work/dest
DESTDIR=$dest cmake --install "$build" --prefix /usr > "$work/install.log" 2>&1 \
    || { cat "$work/install.log"; fail "cmake --install"; }

root=$dest/usr
gamedata=$root/share/games/skiff
launcher=$root/games/skiff

(cd "$dest" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) > "$work/installed"
{
    echo usr/games/skiff
    echo usr/lib/games/skiff/skiff
    echo usr/share/applications/org.example.skiff.desktop
    echo usr/share/metainfo/org.example.skiff.metainfo.xml
    echo usr/share/doc/skiff/changelog.gz
    echo usr/share/doc/skiff/copyright
    for size in 32 48 64 128; do
        echo "usr/share/icons/hicolor/${size}x${size}/apps/skiff.png"
    done
    echo usr/share/man/man6/skiff.6.gz
    echo usr/share/games/skiff/allegro.cfg
    (cd "$data" && find intro bmp level0 ! -type d) | sed 's|^|usr/share/games/skiff/|'
} | LC_ALL=C sort > "$work/expected"
diff -u "$work/expected" "$work/installed" || fail "installed files differ from the expected list"

[ -x "$launcher" ] || fail "launcher not executable"
[ -x "$root/lib/games/skiff/skiff" ] || fail "game not executable"
head -n 1 "$launcher" | grep -qx '#!/bin/sh' || fail "launcher is not a sh script"
for entry in intro bmp level0; do
    diff -r "$data/$entry" "$gamedata/$entry" > /dev/null || fail "installed $entry/ differs from data/$entry/"
done
cmp -s "$data/allegro.cfg" "$gamedata/allegro.cfg" || fail "installed allegro.cfg differs"

desktop=$root/share/applications/org.example.skiff.desktop
for line in '[Desktop Entry]' 'Type=Application' 'Exec=skiff' 'Icon=skiff' 'Categories=Game;ArcadeGame;'; do
    grep -qxF "$line" "$desktop" || fail "desktop entry lacks $line"
done
desktop-file-validate "$desktop" || fail "desktop-file-validate"
# Infos (such as a tag newer than the validator) may stay; errors and warnings may not.
appstreamcli validate --no-net --pedantic "$root/share/metainfo/org.example.skiff.metainfo.xml" > "$work/appstream.log" 2>&1
status=$?
! grep -E '^[EW]:' "$work/appstream.log" && [ "$status" = 0 ] || fail "appstreamcli validate: $(cat "$work/appstream.log")"

icons=$work/icons
"$source_dir/tools/icons/make-icons" "$icons" || fail "make-icons"
for size in 32 48 64 128; do
    icon=$root/share/icons/hicolor/${size}x${size}/apps/skiff.png
    [ "$("$identify" -format '%m %w %h' "$icon")" = "PNG $size $size" ] || fail "icon $size is not a ${size}x$size PNG"
    # Transparent corner: magenta was turned into transparency, not drawn.
    [ "$("$CONVERT" "$icon" -format '%[fx:p{0,0}.a]' info:)" = 0 ] || fail "icon $size has an opaque corner"
    differing=$("$COMPARE" -metric AE "$icon" "$icons/skiff-$size.png" null: 2>&1)
    [ "$differing" = 0 ] || fail "icon $size is stale ($differing pixels differ): run tools/icons/make-icons"
done

zcat "$root/share/man/man6/skiff.6.gz" > "$work/skiff.6" || fail "man page not gzipped"
manpage=$work/skiff.6
warnings=$(groff -man -ww -z "$manpage" 2>&1)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
for section in NAME SYNOPSIS DESCRIPTION CONTROLS FILES CONFIGURATION 'EXIT STATUS'; do
    grep -qxE "\.SH \"?$section\"?" "$manpage" || fail "man page lacks $section"
done
for key in engineparams screenwidth screenheight fullScreen textureFiltering; do
    grep -q "$key" "$manpage" || fail "man page does not mention $key"
done

# --- Playing through the launcher -------------------------------------------

start_xvfb 1280x1024x24

home=$work/home
elsewhere=$work/elsewhere
userdir=$home/.local/share/skiff
mkdir -p "$home" "$elsewhere"

window_of_size() {
    game_running || fail "the game ended early; its stderr: $(cat "$work/game.err")"
    xwininfo -root -children 2> /dev/null | grep -q " $1+0+0 "
}

as_shown "$data/intro/intro.pcx" "$work/intro-as-shown.png"

# intro_shows WIDTH HEIGHT: the window shows intro.pcx stretched over it, give
# or take 1% of its pixels (an alert box in its place differs far more).
intro_shows() {
    local differing
    screenshot "$work/intro.png" || return 1
    "$CONVERT" "$work/intro.png" -crop "$1x$2+0+0" +repage -sample '320x240!' "$work/intro-small.png"
    differing=$("$COMPARE" -metric AE -fuzz 10% "$work/intro-small.png" "$work/intro-as-shown.png" null: 2>&1)
    [ "$differing" -lt 768 ] 2> /dev/null
}

intro_left() {
    screenshot "$work/now.png" && [ "$(differing_pixels "$work/intro.png" "$work/now.png" "$1+0+0")" != 0 ]
}

# play WIDTH HEIGHT: starts the launcher from another directory, with no data
# home in the environment, waits for the intro in a window of that size, leaves
# it with a key and quits with Escape; the game must end with status 0.
play() {
    local size=$1x$2
    (cd "$elsewhere" && exec env -u XDG_DATA_HOME HOME="$home" \
        timeout -s KILL "${GAME_TIMEOUT:-120}" "$launcher" --an-argument-to-ignore) \
        > "$work/game.out" 2> "$work/game.err" &
    E2E_GAME_PID=$!
    poll_until 30 window_of_size "$size" || fail "no window of $size"
    poll_until 30 intro_shows "$1" "$2" || fail "the intro does not show"
    press Return
    poll_until 30 intro_left "$size" || fail "a key does not leave the intro"
    hold Escape
    poll_until 30 game_stopped || { release Escape; fail "Escape does not end the game"; }
    release Escape
    wait_for_exit 5
    [ "$E2E_STATUS" = 0 ] || fail "the game ended with status $E2E_STATUS"
}

play 960 720

for entry in intro bmp level0; do
    [ -L "$userdir/$entry" ] || fail "$entry is not a link in the player's directory"
    [ "$(readlink "$userdir/$entry")" = "$gamedata/$entry" ] || fail "$entry links to $(readlink "$userdir/$entry")"
done
[ -f "$userdir/allegro.cfg" ] && [ ! -L "$userdir/allegro.cfg" ] || fail "the player has no allegro.cfg of their own"
cmp -s "$userdir/allegro.cfg" "$gamedata/allegro.cfg" || fail "the player's allegro.cfg is not the installed one"

# The player's settings stay and are used; a link left over from an older
# installation is renewed.
sed -i -e 's/^screenwidth = .*/screenwidth = 640/' -e 's/^screenheight = .*/screenheight = 480/' "$userdir/allegro.cfg"
cp "$userdir/allegro.cfg" "$work/players.cfg"
rm "$userdir/bmp"
ln -s "$work/old-installation/bmp" "$userdir/bmp"

play 640 480

cmp -s "$userdir/allegro.cfg" "$work/players.cfg" || fail "the player's allegro.cfg was overwritten"
[ "$(readlink "$userdir/bmp")" = "$gamedata/bmp" ] || fail "the bmp link was not renewed"

# --- The Debian package -----------------------------------------------------

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" > "$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack -G DEB"; }
debs=("$work"/package/*.deb)
[ "${#debs[@]}" = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
[ "$(basename "$deb")" = "skiff_${version}_$(dpkg --print-architecture).deb" ] || fail "package named $(basename "$deb")"

dpkg-deb -c "$deb" > "$work/contents"
awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sed 's|^\./||' | LC_ALL=C sort > "$work/packaged"
diff -u "$work/installed" "$work/packaged" || fail "the package's files differ from the installed ones"
awk '$2 != "root/root" { bad = 1 } END { exit bad }' "$work/contents" || fail "packaged files not owned by root"
grep -qE '^-rwxr-xr-x .* \./usr/games/skiff$' "$work/contents" || fail "packaged launcher not executable"
grep -qE '^-rwxr-xr-x .* \./usr/lib/games/skiff/skiff$' "$work/contents" || fail "packaged game not executable"

[ "$(dpkg-deb -f "$deb" Package)" = skiff ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
[ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no description"
depends=$(dpkg-deb -f "$deb" Depends)
# Debian 13 renamed the libraries for 64-bit time: liballegro4.4t64.
for library in liballegro4.4 liballeggl4.4; do
    echo "$depends" | grep -qE "(^|, )$library(t64)?( |,|$)" || fail "Depends lacks $library: $depends"
done
zcat "$root/share/doc/skiff/changelog.gz" | head -n 1 | grep -qF "skiff ($version) " || fail "changelog does not start at $version"
lintian --fail-on error,warning "$deb" > "$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"

echo "install: tree, launcher and package OK"
