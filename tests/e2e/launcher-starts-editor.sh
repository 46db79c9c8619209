#!/usr/bin/env bash
# The real launcher starts the real editor: Up from the first entry wraps the
# menu pointer round to the editor entry, Return starts Tessel/Tessel with
# Tessel/ as its working directory (the editor finds its images there), and
# closing the editor and then the menu ends the launcher with status 0.
#
# Usage: launcher-starts-editor.sh DIST_DIR X11CLOSE OUTPUT_DIR
# DIST_DIR is the build's runtime tree (launcher, its media, Tessel/Tessel);
# X11CLOSE asks a window to close as a window manager would.
source "$(dirname "$0")/e2e-lib.sh"

DIST=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin launcher-starts-editor "$3"

MENU_TITLE='^Halcyon - Lumen 2021$'
# The menu pointer is a 50 x 50 picture at x 5, one entry every 59 pixels
# from y 180: intro video, play, editor.
POINTER_X=5 POINTER_Y=(180 239 298) POINTER_SIZE=50
GRID_COLOUR="40 60 90"

# A fingerprint of the screen inside the pointer's place at entry N.
entry_look() {
    import -window root -crop "${POINTER_SIZE}x${POINTER_SIZE}+$POINTER_X+${POINTER_Y[$1]}" \
        -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-32
}
entry_changed() { [ "$(entry_look "$1")" != "$2" ]; }

pointer_drawn() { [ "$(entry_look 0)" != "$(entry_look 2)" ]; }

TREE=$WORK/tree
mkdir -p "$TREE/Tessel" "$TREE/Halcyon"
cp "$DIST/launcher" "$DIST"/*.png "$DIST"/*.wav "$TREE/"
cp "$DIST/Tessel/Tessel" "$TREE/Tessel/"
make_images "$TREE/Tessel"
TREE=$(cd "$TREE" && pwd -P)

step "start the launcher"
start_and_focus launcher "$TREE" "$MENU_TITLE" ./launcher
LAUNCHER=$LAST_PID MENU=$LAST_WINDOW
wait_until "the menu pointer at the first entry" pointer_drawn
first=$(entry_look 0)
third=$(entry_look 2)

step "Up on the first entry wraps to the editor entry"
xdotool key Up
wait_until "the pointer to reach the third entry" entry_changed 2 "$third"
entry_changed 0 "$first" || fail "the pointer is still drawn at the first entry"

step "Return starts the editor"
xdotool key Return
EDITOR_WINDOW=$(timeout "$E2E_TIMEOUT" xdotool search --sync --onlyvisible --name '^Tessel$' | head -n 1) ||
    fail "no editor window within ${E2E_TIMEOUT}s"
EDITOR=$(xdotool getwindowpid "$EDITOR_WINDOW")
[ "$(readlink "/proc/$EDITOR/exe")" = "$TREE/Tessel/Tessel" ] ||
    fail "the editor runs from $(readlink "/proc/$EDITOR/exe"), not $TREE/Tessel/Tessel"
[ "$(readlink "/proc/$EDITOR/cwd")" = "$TREE/Tessel" ] ||
    fail "the editor runs in $(readlink "/proc/$EDITOR/cwd"), not $TREE/Tessel"
# The map grid is Tessel/assets/bg64x64.jpg, read relative to that folder.
wait_until "the editor's map grid" pixel_near 389 43 "$GRID_COLOUR"
kill -0 "$LAUNCHER" 2>/dev/null || fail "the launcher ended when it started the editor"

step "close the editor"
"$X11CLOSE" "$EDITOR_WINDOW" || fail "cannot ask the editor to close"
wait_until "the editor to end" gone "$EDITOR"

step "close the launcher"
close_program "$LAUNCHER" "$MENU"

step "done"
say "PASS"
