#!/usr/bin/env bash
# The packaged editor opens a map named on its command line. The package is
# unpacked into a scratch folder and its start script is run from the map's
# folder with a relative path, as a user would type it: the editor runs in
# the package's tree, the map's cells appear and the title names the file.
# A map that cannot be read shows its warning over an empty map.
#
# Usage: package-opens-map.sh PACKAGE.deb X11CLOSE OUTPUT_DIR
source "$(dirname "$0")/e2e-lib.sh"
source "$(dirname "$0")/editor-grid.sh"

PACKAGE=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin package-opens-map "$3"

STONE_COLOUR="30 60 220"

ROOT=$WORK/root
dpkg-deb -x "$PACKAGE" "$ROOT"
ROOT=$(cd "$ROOT" && pwd -P)
MAPS=$WORK/maps
mkdir -p "$MAPS/level1"
MAPS=$(cd "$MAPS" && pwd -P)
convert -size 64x64 xc:"rgb(${BRICK_COLOUR// /,})" "$MAPS/level1/brick.png"
convert -size 64x64 xc:"rgb(${STONE_COLOUR// /,})" "$MAPS/level1/stone.png"
printf '#Floor\r\n100,0,\r\n\r\n#Wall\r\n0,104,\r\n\r\n#Definitions\r\n%s\r\n%s\r\n' \
    '104,Wall,Solid,level1/brick.png' '100,Floor,,level1/stone.png' >"$MAPS/level1.map"

step "start the packaged editor with a relative map path"
start_program editor "$MAPS" "$ROOT/usr/bin/tessel" level1.map
EDITOR=$LAST_PID
WINDOW=$(window_of "$EDITOR" '^Editing: ')
title_is "$WINDOW" "Editing: $MAPS/level1.map - Tessel" ||
    fail "the title is \"$(xdotool getwindowname "$WINDOW")\""
[ "$(readlink "/proc/$EDITOR/cwd")" = "$ROOT/opt/tessel/Tessel" ] ||
    fail "the editor runs in $(readlink "/proc/$EDITOR/cwd"), not the package's tree"

step "the map's wall is on the canvas, on the Wall layer the load makes current"
wait_until "the wall cell" cell_is 1 0 "$BRICK_COLOUR"
close_program "$EDITOR" "$WINDOW"

step "a map that cannot be read shows its warning"
start_and_focus unreadable "$MAPS" '^Load failed$' "$ROOT/usr/bin/tessel" missing.map
EDITOR=$LAST_PID WARNING=$LAST_WINDOW
xdotool key Return
wait_until "the warning to close" window_gone '^Load failed$'
WINDOW=$(window_of "$EDITOR" '^Tessel$')
close_program "$EDITOR" "$WINDOW"
say "passed"
