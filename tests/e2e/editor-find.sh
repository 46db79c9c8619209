#!/usr/bin/env bash
# Finding one's way with real X input: Ctrl+A selects the whole layer, a
# double-click selects every wall alike and Delete erases them, Ctrl+G takes
# the view to a far cell, Ctrl+F finds the other walls and a double-click on
# a match brings one back into view, and "Select all" then Delete erases
# them. The saved file must hold no wall at all.
#
# Usage: editor-find.sh PATH/TO/Tessel X11CLOSE OUTPUT_DIR
source "$(dirname "$0")/e2e-lib.sh"
source "$(dirname "$0")/editor-grid.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin editor-find "$3"

APP=$WORK/app
mkdir -p "$APP"
make_images "$APP"
SLATE_COLOUR="30 200 200"
convert -size 64x64 xc:'rgb(30,200,200)' "$APP/textures/Wall/slate.png"
# Bricks at (0,0) (2,0) (4,0) (1,2), not all touching; slate at (1,0) (3,0);
# a floor under all of it.
python3 - "$APP/level.map" <<'PY'
import sys
picture = ["BSBSB", ".....", ".B..."]
def grid(value_of):
    return "\n".join(",".join(value_of(c) for c in row) + "," for row in picture)
text = "#Wall\n%s\n\n" % grid(lambda c: {"B": "100", "S": "101"}.get(c, "0"))
text += "#Floor\n%s\n\n" % grid(lambda c: "102")
text += """#Definitions
100,Wall,Solid,textures/Wall/brick.png
101,Wall,Solid,textures/Wall/slate.png
102,Floor,,textures/Floor/stone.png
"""
open(sys.argv[1], "w").write(text)
PY

cells_of() { python3 "$E2E_DIR/mapcells.py" "$1" || fail "$1 does not read back"; }
# Whether any pixel of the map area shows COLOUR ("R G B", within 24). The
# whole picture is read: stopping early would fail the pipe.
map_shows() {
    import -window root -crop "640x600+$MAP_X+$MAP_Y" -depth 8 rgb:- 2>/dev/null | od -An -v -tu1 -w3 |
        awk -v want="$1" 'BEGIN { split(want, w, " ") }
            ($1 - w[1]) ^ 2 <= 576 && ($2 - w[2]) ^ 2 <= 576 && ($3 - w[3]) ^ 2 <= 576 { found = 1 }
            END { exit !found }'
}
map_lacks() { ! map_shows "$1"; }

step "open the level"
start_and_focus editor "$APP" ' - Tessel$' "$TESSEL" level.map
EDITOR=$LAST_PID MAIN=$LAST_WINDOW
wait_until "the bricks" cell_is_brick 4 0

step "Ctrl+A selects every wall: they take the selection's tint"
xdotool key ctrl+a
not_brick() { ! cell_is_brick 4 0; }
wait_until "the selection's tint on the walls" not_brick
xdotool key Escape
wait_until "Escape to drop the selection" cell_is_brick 4 0

step "double-click a brick, then Delete: every brick goes, the slate stays"
xdotool mousemove "$(cell_x 2)" "$(cell_y 0)"
sleep 0.3
xdotool click --repeat 2 --delay 150 1
sleep 0.3
xdotool key Delete
wait_until "the bricks to be erased" map_lacks "$BRICK_COLOUR"
cell_is "1" "0" "$SLATE_COLOUR" || fail "the slate wall went with the bricks"

step "Ctrl+G to cell (60, 60): the walls leave the view"
xdotool key ctrl+g
GOTO=$(window_of "$EDITOR" '^Go to Cell$')
focus "$GOTO"
xdotool key ctrl+a
xdotool type --delay 30 60
xdotool key Tab ctrl+a
xdotool type --delay 30 60
xdotool key Return
wait_until "the view to leave the walls" map_lacks "$SLATE_COLOUR"

step "Ctrl+F: find slate and double-click the first match"
focus "$MAIN"
xdotool key ctrl+f
FIND=$(window_of "$EDITOR" '^Find$')
focus "$FIND"
xdotool type --delay 30 slate
# Out of the map's way, below it.
xdotool windowmove "$FIND" 700 300
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$FIND")"
# Row heights follow the font: Return in the name field highlights the first
# match, and the double-click goes to the middle of the highlighted row.
xdotool key Return
sleep 0.3
ROW=$(highlighted_row $((X + 60)) "$Y" "$HEIGHT")
[ -n "$ROW" ] || fail "Return highlighted no match in the Find window"
xdotool mousemove $((X + 60)) $((Y + ROW))
sleep 0.3
xdotool click --repeat 2 --delay 150 1
wait_until "the first slate wall in view" map_shows "$SLATE_COLOUR"

step "Select all, then Delete in the main window: the slate goes too"
# The list has the keys after the double-click; Tab leads to "Select all".
xdotool key Tab space
sleep 0.3
focus "$MAIN"
xdotool key Delete
wait_until "the slate walls to be erased" map_lacks "$SLATE_COLOUR"

step "save: no wall is left in the file"
xdotool key ctrl+s
wait_until "the save" title_is "$MAIN" "Editing: $APP/level.map - Tessel"
cells_of "$APP/level.map" >"$OUT/saved.cells"
grep -q '^Wall ' "$OUT/saved.cells" && fail "walls are left in the saved file: $(grep '^Wall ' "$OUT/saved.cells")"
grep -q '^Floor 0 2 ' "$OUT/saved.cells" || fail "the floor went missing"

step "close the editor"
close_program "$EDITOR" "$MAIN"
say "PASS"
