#!/usr/bin/env bash
# The launcher's "Cannot start" message leaves the keys with the menu: with
# no game beside it, Down and Return on the play entry show the message, and
# the arrow keys still move the menu pointer while it is shown.
#
# Usage: launcher-message.sh DIST_DIR X11CLOSE OUTPUT_DIR
# DIST_DIR is the build's runtime tree (launcher and its media).
source "$(dirname "$0")/e2e-lib.sh"

DIST=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin launcher-message "$3"

MENU_TITLE='^Halcyon - Lumen 2021$'
# As in launcher-starts-editor.sh: the 50 x 50 pointer at x 5, one entry
# every 59 pixels from y 180.
POINTER_X=5 POINTER_Y=(180 239 298) POINTER_SIZE=50

entry_look() {
    import -window root -crop "${POINTER_SIZE}x${POINTER_SIZE}+$POINTER_X+${POINTER_Y[$1]}" \
        -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-32
}
entry_changed() { [ "$(entry_look "$1")" != "$2" ]; }
pointer_drawn() { [ "$(entry_look 0)" != "$(entry_look 2)" ]; }

TREE=$WORK/tree
mkdir -p "$TREE"
cp "$DIST/launcher" "$DIST"/*.png "$DIST"/*.wav "$TREE/"

step "start the launcher, without a game beside it"
start_and_focus launcher "$TREE" "$MENU_TITLE" ./launcher
LAUNCHER=$LAST_PID MENU=$LAST_WINDOW
wait_until "the menu pointer at the first entry" pointer_drawn
second=$(entry_look 1)

step "Down and Return on the play entry: the message says the game cannot start"
xdotool key Down
wait_until "the pointer to reach the play entry" entry_changed 1 "$second"
xdotool key Return
BOX=$(window_of "$LAUNCHER" '^Cannot start$')
third=$(entry_look 2)

step "Down still moves the menu pointer while the message is shown"
xdotool key Down
wait_until "the pointer to reach the editor entry" entry_changed 2 "$third"
xdotool search --onlyvisible --name '^Cannot start$' >/dev/null || fail "the message closed on Down"

step "close the message and the launcher"
"$X11CLOSE" "$BOX" || fail "cannot ask the message to close"
wait_until "the message to close" window_gone '^Cannot start$'
close_program "$LAUNCHER" "$MENU"

step "done"
say "PASS"
