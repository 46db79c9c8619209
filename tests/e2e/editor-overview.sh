#!/usr/bin/env bash
# The overview window with real X input: F6 shows the whole map, a person's
# click on a far block of walls brings it into the map view, a cell painted in
# the map view appears in the overview and goes again with Ctrl+Z, and a drag
# in the overview takes the view along. An image replaced on disk is drawn
# anew in both.
#
# Usage: editor-overview.sh PATH/TO/Tessel X11CLOSE OUTPUT_DIR
source "$(dirname "$0")/e2e-lib.sh"
source "$(dirname "$0")/editor-grid.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin editor-overview "$3"

APP=$WORK/app
mkdir -p "$APP"
make_images "$APP"
# One wall near the start, and a block of walls (40..49, 30..39) far out of view.
python3 - "$APP/level.map" <<'PY'
import sys
rows = [[0] * 50 for _ in range(40)]
rows[1][1] = 100
for y in range(30, 40):
    for x in range(40, 50):
        rows[y][x] = 100
grid = "\n".join(",".join(map(str, row)) + "," for row in rows)
open(sys.argv[1], "w").write("#Wall\n%s\n\n#Definitions\n100,Wall,Solid,textures/Wall/brick.png\n" % grid)
PY

step "open the level and press F6"
start_and_focus editor "$APP" ' - Tessel$' "$TESSEL" level.map
EDITOR=$LAST_PID MAIN=$LAST_WINDOW
wait_until "the wall near the start" cell_is_brick 1 1
xdotool key F6
OVERVIEW=$(window_of "$EDITOR" '^Overview$')
# Below the map, out of its way.
xdotool windowmove "$OVERVIEW" 0 690
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$OVERVIEW")"
# The picture is square, 58 cells a side (the map's 50 and room to grow),
# whole pixels a cell, in the middle of the window.
SIDE=$((WIDTH < HEIGHT ? WIDTH : HEIGHT))
P=$((SIDE / 58))
overview_x() { echo $((X + (WIDTH - 58 * P) / 2 + $1 * P + P / 2)); }
overview_y() { echo $((Y + (HEIGHT - 58 * P) / 2 + $1 * P + P / 2)); }
overview_is_brick() { pixel_near "$(overview_x "$1")" "$(overview_y "$2")" "$BRICK_COLOUR"; }
overview_is_not_brick() { pixel_differs "$(overview_x "$1")" "$(overview_y "$2")" "$BRICK_COLOUR"; }
press_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.3
    xdotool mousedown 1
    sleep 0.12
}
wait_until "the far block in the overview" overview_is_brick 45 35
overview_is_not_brick 20 20 || fail "the overview shows a wall where the map has none"

step "click the far block in the overview"
press_at "$(overview_x 45)" "$(overview_y 35)"
xdotool mouseup 1
# The map view's middle cell (5, 4) now shows map cell (45, 35).
wait_until "the block in the middle of the map view" cell_is_brick 5 4

step "paint beside the block; the overview follows, and Ctrl+Z"
focus "$MAIN"
# Canvas cell (10, 8) is map cell (50, 39), just right of the block.
xdotool mousemove "$(cell_x 10)" "$(cell_y 8)"
sleep 0.3
xdotool mousedown 1
sleep 0.12
xdotool mouseup 1
wait_until "the painted cell in the overview" overview_is_brick 50 39
sleep 0.3
xdotool key ctrl+z
wait_until "the undone cell to leave the overview" overview_is_not_brick 50 39

step "drag in the overview from the block to the first wall"
press_at "$(overview_x 45)" "$(overview_y 35)"
for cell in 35 25 15 5 1; do
    xdotool mousemove "$(overview_x "$cell")" "$(overview_y "$cell")"
    sleep 0.15
done
xdotool mouseup 1
first_wall_in_middle() { cell_is_brick 5 4 && cell_is_empty 6 4; }
wait_until "the first wall in the middle of the map view" first_wall_in_middle

step "the wall image changes on disk"
# As an image editor saves: written beside, then renamed over the old file.
convert -size 64x64 xc:'rgb(30,30,220)' "$APP/textures/Wall/brick-new.png"
mv "$APP/textures/Wall/brick-new.png" "$APP/textures/Wall/brick.png"
BLUE="30 30 220"
blue_everywhere() { cell_is 5 4 "$BLUE" && pixel_near "$(overview_x 1)" "$(overview_y 1)" "$BLUE"; }
wait_until "the wall drawn anew in the map view and the overview" blue_everywhere

step "close the editor"
close_program "$EDITOR" "$MAIN"
say "PASS"
