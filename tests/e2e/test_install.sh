#!/bin/bash
# Installs the build into a scratch root and checks the installed tree, plays the
# installed launcher from an empty home, and checks that the Debian package holds the
# same files, names the libraries it needs, is hardened and passes Debian's own checks.
#   test_install.sh SKIFF DATA_DIR    (the build directory is SKIFF's)
set -u
source "$(dirname "$0")/../../scripts/game-on-xvfb.sh"
e2e_init "$1" "$2"
build=$(dirname "$SKIFF") work=$E2E_WORK dest=$E2E_WORK/dest
root=$dest/usr gamedata=$dest/usr/share/games/skiff launcher=$dest/usr/games/skiff

# --- The installed tree
DESTDIR=$dest cmake --install "$build" --prefix /usr > "$work/install.log" 2>&1 || fail "cmake --install: $(cat "$work/install.log")"
(cd "$dest" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) > "$work/installed"
{
    printf '%s\n' usr/games/skiff usr/lib/games/skiff/skiff usr/bin/skiff-level \
        usr/share/applications/org.example.skiff.desktop usr/share/metainfo/org.example.skiff.metainfo.xml \
        usr/share/doc/skiff/{changelog.gz,copyright} usr/share/icons/hicolor/{32x32,48x48,64x64,128x128}/apps/skiff.png \
        usr/share/man/man6/skiff.6.gz usr/share/man/man1/skiff-level.1.gz usr/share/lintian/overrides/skiff
    (cd "$DATA" && find allegro.cfg intro bmp level0 ! -type d) | sed 's|^|usr/share/games/skiff/|'
} | LC_ALL=C sort | diff -u - "$work/installed" || fail "installed files differ from the expected list"
head -n 1 "$launcher" | grep -qx '#!/bin/sh' || fail "launcher is not a sh script"
for entry in allegro.cfg intro bmp level0; do
    diff -r "$DATA/$entry" "$gamedata/$entry" > /dev/null || fail "installed $entry differs from data/$entry"
done

desktop=$root/share/applications/org.example.skiff.desktop
for line in '[Desktop Entry]' 'Type=Application' 'Exec=skiff' 'Icon=skiff' 'Categories=Game;ArcadeGame;'; do
    grep -qxF "$line" "$desktop" || fail "desktop entry lacks $line"
done
desktop-file-validate "$desktop" || fail "desktop-file-validate"
# Infos (such as a tag newer than the validator) may stay; errors and warnings may not.
appstreamcli validate --no-net --pedantic "$root/share/metainfo/org.example.skiff.metainfo.xml" > "$work/appstream.log" 2>&1 \
    && ! grep -qE '^[EW]:' "$work/appstream.log" || fail "appstreamcli validate: $(cat "$work/appstream.log")"

"$DATA/../tools/icons/make-icons" "$work/icons" || fail "make-icons"
for size in 32 48 64 128; do
    icon=$root/share/icons/hicolor/${size}x${size}/apps/skiff.png
    # A transparent corner: magenta was turned into transparency, not drawn.
    [ "$("$CONVERT" "$icon" -format '%m %w %h %[fx:p{0,0}.a]' info:)" = "PNG $size $size 0" ] \
        || fail "icon $size is not a ${size}x$size PNG with a transparent corner"
    differing=$("$COMPARE" -metric AE "$icon" "$work/icons/skiff-$size.png" null: 2>&1)
    [ "$differing" = 0 ] || fail "icon $size is stale ($differing pixels differ): run tools/icons/make-icons"
done

# man_page PAGE SECTION...: the installed page is gzipped, groff finds nothing to warn of, and it has those sections.
man_page() {
    local page=$1 manpage=$work/${1##*/} section warnings
    shift
    manpage=${manpage%.gz}
    zcat "$root/share/man/$page" > "$manpage" || fail "man page $page not gzipped"
    warnings=$(groff -man -ww -z "$manpage" 2>&1)
    [ -z "$warnings" ] || fail "man page $page warnings: $warnings"
    for section in "$@"; do
        grep -qxE "\.SH \"?$section\"?" "$manpage" || fail "man page $page lacks $section"
    done
}
man_page man6/skiff.6.gz NAME SYNOPSIS DESCRIPTION OPTIONS CONTROLS FILES CONFIGURATION 'EXIT STATUS' 'SEE ALSO'
for key in engineparams screenwidth screenheight fullScreen textureFiltering '\-\-level' '\-\-version'; do
    grep -qF "$key" "$work/skiff.6" || fail "man page skiff.6 does not mention $key"
done
man_page man1/skiff-level.1.gz NAME SYNOPSIS DESCRIPTION COMMANDS OPTIONS 'EXIT STATUS' 'SEE ALSO'
for command in import check play help; do
    grep -qF ".B skiff-level $command" "$work/skiff-level.1" || fail "man page skiff-level.1 lacks the command $command"
done

# --- Playing through the launcher
start_xvfb 1280x1024x24
home=$work/home elsewhere=$work/elsewhere
userdir=$home/.local/share/skiff
mkdir -p "$home" "$elsewhere"

# play WIDTH HEIGHT: the launcher, started elsewhere with no data home, shows the intro
# stretched over a window of that size, leaves it on a key and ends with 0 on Escape.
play() {
    (cd "$elsewhere" && exec env -u XDG_DATA_HOME HOME="$home" timeout -s KILL 120 "$launcher") \
        > "$work/game.out" 2> "$work/game.err" &
    E2E_GAME_PID=$!
    poll_until 30 window_of_size "$1x$2" || fail "no window of $1x$2"
    poll_until 30 stretched_intro_shows "$1x$2" || fail "the intro does not show"
    poll_until 30 intro_left "$1x$2" || fail "a key does not leave the intro"
    quit
}


intro_left() {
    press Return
    ! stretched_intro_shows "$1"
}

play 960 720
for entry in intro bmp level0; do
    [ "$(readlink "$userdir/$entry")" = "$gamedata/$entry" ] || fail "$entry is not a link to the installed $entry in the player's directory"
done
[ ! -L "$userdir/allegro.cfg" ] && cmp -s "$userdir/allegro.cfg" "$gamedata/allegro.cfg" \
    || fail "the player has no allegro.cfg of their own, copied from the installed one"

# The player's settings stay and are used; a link left over from an older installation is renewed.
sed -i -e 's/^screenwidth = .*/screenwidth = 640/' -e 's/^screenheight = .*/screenheight = 480/' "$userdir/allegro.cfg"
cp "$userdir/allegro.cfg" "$work/players.cfg"
ln -sfn "$work/old-installation/bmp" "$userdir/bmp"
play 640 480
cmp -s "$userdir/allegro.cfg" "$work/players.cfg" || fail "the player's allegro.cfg was overwritten"
[ "$(readlink "$userdir/bmp")" = "$gamedata/bmp" ] || fail "the bmp link was not renewed"

# --- The installed level tool: the launcher and the data of its own installation
tool=$root/bin/skiff-level
# A missing installed picture is looked for, and missed, in the installed data.
mv "$gamedata/bmp/alien.bmp" "$work/alien.bmp"
(cd "$elsewhere" && "$tool" check "$gamedata/level0") > "$work/check.out" 2> "$work/check.err"
mv "$work/alien.bmp" "$gamedata/bmp/alien.bmp"
grep -qF "cannot be loaded from \"$gamedata\"" "$work/check.err" || fail "skiff-level does not look in the installed data: $(cat "$work/check.err")"
# The README's example, played by an author with their own settings (the 640 x 480 above).
cp -r "$DATA/../levels/example" "$work/author"
(cd "$work/author" && exec env -u XDG_DATA_HOME HOME="$home" timeout -s KILL 120 "$tool" play example.tmx) \
    > "$work/game.out" 2> "$work/game.err" &
E2E_GAME_PID=$!
poll_until 30 window_of_size 640x480 || fail "skiff-level play opens no window of the player's 640x480: $(cat "$work/game.err")"
quit
grep -q '^0 errors, 0 warnings$' "$work/game.out" || fail "the example does not import cleanly: $(cat "$work/game.out" "$work/game.err")"
for entry in intro bmp level0; do
    [ "$(readlink "$userdir/$entry")" = "$gamedata/$entry" ] || fail "play changed the player's $entry"
done
diff -r "$DATA/level0" "$gamedata/level0" > /dev/null || fail "play changed the installed level"

# --- The Debian package
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" > "$work/cpack.log" 2>&1 || fail "cpack -G DEB: $(cat "$work/cpack.log")"
debs=("$work"/package/*.deb)
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
[ "${#debs[@]}" = 1 ] && [ "$deb" = "$work/package/skiff_${version}_$(dpkg --print-architecture).deb" ] \
    || fail "cpack made not one package named skiff_VERSION_ARCH.deb: ${debs[*]}"
dpkg-deb -c "$deb" > "$work/contents"
awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sed 's|^\./||' | LC_ALL=C sort | diff -u "$work/installed" - \
    || fail "the package's files differ from the installed ones"
awk '$2 != "root/root" { bad = 1 } END { exit bad }' "$work/contents" || fail "packaged files not owned by root"
[ "$(grep -cE '^-rwxr-xr-x .* \./usr/(games/skiff|lib/games/skiff/skiff|bin/skiff-level)$' "$work/contents")" = 3 ] \
    || fail "packaged launcher, game or level tool not executable"
[ "$(dpkg-deb -f "$deb" Package Section | tr '\n' ' ')" = "Package: skiff Section: games " ] || fail "package name or section"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] && [ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no maintainer or description"
depends=$(dpkg-deb -f "$deb" Depends)
# Debian 13 renamed the libraries for 64-bit time (liballegro4.4t64) and has TinyXML-2 11.
for library in liballegro4.4 liballeggl4.4 libpng16-16 'libtinyxml2-[0-9]+' libzstd1 zlib1g; do
    echo "$depends" | grep -qE "(^|, )$library(t64)?( |,|$)" || fail "Depends lacks $library: $depends"
done
# Without dpkg-shlibdeps the libraries are named by hand: by the names that dpkg-shlibdeps finds.
cmake -S "$DATA/.." -B "$work/by-hand" -DSKIFF_TESTS=OFF -DSKIFF_DPKG_SHLIBDEPS=OFF > "$work/by-hand.log" 2>&1 \
    || fail "cmake without dpkg-shlibdeps: $(cat "$work/by-hand.log")"
by_hand=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_DEPENDS "\(.*\)")$/\1/p' "$work/by-hand/CPackConfig.cmake")
names() { sed 's/ ([^)]*)//g; s/, /\n/g' | LC_ALL=C sort; }
missing=$(LC_ALL=C comm -23 <(echo "$depends" | names) <(echo "$by_hand" | names))
[ -z "$missing" ] || fail "without dpkg-shlibdeps Depends lacks $missing: $by_hand"
zcat "$root/share/doc/skiff/changelog.gz" | head -n 1 | grep -qF "skiff ($version) " || fail "changelog does not start at $version"
lintian -I --fail-on error,warning "$deb" > "$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
! grep -E 'hardening-no-(bindnow|fortify-functions)' "$work/lintian.log" || fail "the programs are not hardened"
echo PASS
