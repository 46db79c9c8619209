#!/usr/bin/env bash
# Clicks as a person makes them: a right click holds the button for a moment,
# long enough for the erase to destroy the pressed cell's own button before
# the release comes. Every such erase must still be one undo step, also when
# Ctrl+Z is pressed twice in quick succession, and a right drag that starts on
# a cell goes on erasing after that first button is gone.
# Then a door painted with the wall's texture shares the wall's definition
# line; the map is saved and loaded again, the door is erased with Ctrl held,
# the view is zoomed, and the map is saved, undone and saved again: the door
# must leave and come back on its own layer, with no crash on the way.
# Last, a tool key typed right after S: its click lands in Select mode.
#
# Usage: editor-real-input.sh PATH/TO/Tessel X11CLOSE OUTPUT_DIR
source "$(dirname "$0")/e2e-lib.sh"
source "$(dirname "$0")/editor-grid.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin editor-real-input "$3"

LOAD_BUTTON=(100 676)

alive() { gone "$EDITOR" && fail "the editor ended (see $OUT/editor.log)"; true; }

paint() {
    click_at "$(cell_x "$1")" "$(cell_y "$2")"
    wait_until "cell ($1, $2) to be painted" cell_is_filled "$1" "$2"
}

# A person's right click: press, a moment, release.
erase() {
    xdotool mousemove "$(cell_x "$1")" "$(cell_y "$2")"
    sleep 0.2
    xdotool mousedown 3
    sleep 0.12
    xdotool mouseup 3
    wait_until "cell ($1, $2) to be erased" cell_is_empty "$1" "$2"
}

cells_of() { python3 "$E2E_DIR/mapcells.py" "$1" || fail "$1 does not read back"; }

APP=$WORK/app
MAPS=$WORK/maps
mkdir -p "$APP" "$MAPS"
make_images "$APP"

step "start the editor and paint four walls"
start_and_focus editor "$APP" '^Tessel$' "$TESSEL"
EDITOR=$LAST_PID WINDOW=$LAST_WINDOW
wait_until "the empty map grid" cell_is_empty 0 0
for x in 1 2 3 4; do
    paint "$x" 1
done

step "erase one with a right click; Ctrl+Z brings it back"
erase 2 1
xdotool key ctrl+z
wait_until "Ctrl+Z to restore the erased wall" cell_is_filled 2 1

step "erase two; two quick Ctrl+Z bring both back"
erase 3 1
erase 4 1
xdotool key --delay 120 ctrl+z ctrl+z
wait_until "the first Ctrl+Z to restore (4, 1)" cell_is_filled 4 1
wait_until "the second Ctrl+Z to restore (3, 1)" cell_is_filled 3 1

step "a right drag from a wall erases every wall it crosses; one Ctrl+Z brings all back"
# The drag's first erase destroys the button the press went to.
xdotool mousemove "$(cell_x 2)" "$(cell_y 1)"
sleep 0.2
xdotool mousedown 3
sleep 0.12
for x in 3 4; do
    xdotool mousemove "$(cell_x "$x")" "$(cell_y 1)"
    sleep 0.12
done
xdotool mouseup 3
for x in 2 3 4; do
    wait_until "the drag to erase ($x, 1)" cell_is_empty "$x" 1
done
cell_is_filled 1 1 || fail "the drag erased a wall it never crossed"
xdotool key ctrl+z
for x in 2 3 4; do
    wait_until "Ctrl+Z to restore ($x, 1)" cell_is_filled "$x" 1
done

step "two walls and, with Ctrl held, a door between them in the same texture"
paint 1 3
paint 3 3
xdotool keydown ctrl
paint 2 3
xdotool keyup ctrl

step "save as shared.map: the door shares the wall's definition line"
xdotool key ctrl+s
answer_file_dialog "$EDITOR" "Save Corvid Map" "$MAPS/shared.map"
wait_until "the title to name shared.map" title_is "$WINDOW" "Editing: $MAPS/shared.map - Tessel"
cells_of "$MAPS/shared.map" >"$OUT/saved.cells"
grep -Fqx 'Door 2 3 | Solid | brick.png | -' "$OUT/saved.cells" || fail "no door at (2, 3) in shared.map"
[ "$(grep -c ',Solid,shared/brick.png' "$MAPS/shared.map")" -eq 1 ] ||
    fail "the door does not share the wall's definition line"

step "load shared.map again"
click_at "${LOAD_BUTTON[@]}"
answer_file_dialog "$EDITOR" "Open Corvid Map" "$MAPS/shared.map"
wait_until "the loaded door" cell_is_filled 2 3
alive

step "Ctrl+right-click the door, move the pointer, zoom with Ctrl+wheel"
xdotool mousemove "$(cell_x 2)" "$(cell_y 3)" keydown ctrl
erase 2 3
xdotool mousemove "$(cell_x 5)" "$(cell_y 5)"
sleep 0.3
xdotool keyup ctrl
sleep 0.3
alive
# Zoomed out around the pointer, the wall at (1, 3) leaves this place on
# screen (inside the wall's cell, off the grid lines of either zoom).
wall_seen() { pixel_differs $((MAP_X + 80)) $((MAP_Y + 208)) "$GRID_COLOUR"; }
xdotool keydown ctrl click 5 keyup ctrl
wait_until "the zoom out" eval '! wall_seen'
xdotool keydown ctrl click 4 keyup ctrl
wait_until "the zoom back at 64 pixels a cell" wall_seen
alive

step "save: the door is gone, the walls stay"
TITLE="Editing: $MAPS/shared.map - Tessel"
title_is "$WINDOW" "Editing: $MAPS/shared.map* - Tessel" || fail "the erase did not mark the map unsaved"
xdotool key ctrl+s
wait_until "the save" title_is "$WINDOW" "$TITLE"
cells_of "$MAPS/shared.map" >"$OUT/erased.cells"
grep -v '^Door 2 3 ' "$OUT/saved.cells" | diff -u - "$OUT/erased.cells" >&2 || fail "the erase changed more than the door"

step "undo the erase and save: the door is back on the Door layer"
xdotool key ctrl+z
wait_until "the door to come back" cell_is_filled 2 3
xdotool key ctrl+s
wait_until "the save" title_is "$WINDOW" "$TITLE"
cells_of "$MAPS/shared.map" | diff -u "$OUT/saved.cells" - >&2 || fail "undo did not give back the saved map"
alive

step "S then O typed quickly: O's click lands after Select mode disabled it; E, and the pencil paints"
xdotool key --delay 40 s o
sleep 0.5
alive
xdotool key e
sleep 0.3
paint 6 1
xdotool key ctrl+z
wait_until "the undo of the paint" title_is "$WINDOW" "$TITLE"

step "close the editor"
close_program "$EDITOR" "$WINDOW"

step "done"
say "PASS"
