#!/usr/bin/env bash
# The level check window with real X input: F7 on a level whose exit lies
# behind a key door opens the window wide enough for that long line, and the
# thirty cells without a ceiling are one line; a person's double-click on it
# brings its first cell into the middle of the map view.
#
# Usage: editor-levelcheck.sh PATH/TO/Tessel X11CLOSE OUTPUT_DIR
source "$(dirname "$0")/e2e-lib.sh"
source "$(dirname "$0")/editor-grid.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
# Room for the longest line without wrapping it (the window takes at most
# nine tenths of the screen's width).
export E2E_SCREEN=1600x1200x24
e2e_begin editor-levelcheck "$3"

APP=$WORK/app
mkdir -p "$APP"
make_images "$APP"
# A corridor: the player, 30 cells with a floor and no ceiling, a key door
# whose key is nowhere, the exit; walls all round.
python3 - "$APP/level.map" <<'PY'
import sys
width, picture = 35, ["#" * 35, "#P" + "f" * 30 + "DE#", "#" * 35]
layers = {"Ceil": "PDE", "Wall": "#", "Floor": "PfDE", "Door": "D", "Actor": "P", "Item": "E"}
values = {"Ceil": 102, "Wall": 100, "Floor": 101, "Door": 103, "Actor": 104, "Item": 105}
text = ""
for layer, marks in layers.items():
    rows = [",".join(str(values[layer]) if c in marks else "0" for c in row) + "," for row in picture]
    text += "#%s\n%s\n\n" % (layer, "\n".join(rows))
text += """#Definitions
100,Wall,Solid,textures/Wall/brick.png
101,Floor,,textures/Floor/stone.png
102,Ceil,,textures/Ceil/plaster.png
103,Door,BlueKeyDoor,textures/Door/oak.png
104,Actor,Player,textures/Actor/guard.png
105,Item,LevelEnd,textures/Item/medkit.png
"""
open(sys.argv[1], "w").write(text)
PY

step "open the level and press F7"
start_and_focus editor "$APP" ' - Tessel$' "$TESSEL" level.map
EDITOR=$LAST_PID MAIN=$LAST_WINDOW
corner() { pixel $((MAP_X + CELL / 2)) $((MAP_Y + CELL / 2)); }
corner_is_wall() { [ "$(corner)" != "40 60 90" ] && [ -n "$(corner)" ]; }
wait_until "the level's walls" corner_is_wall
BEFORE=$(corner)
xdotool key F7
CHECK=$(window_of "$EDITOR" '^Level check$')

step "the window is wide enough for its longest line"
# (--shell sets WINDOW, X, Y, WIDTH and HEIGHT.)
eval "$(xdotool getwindowgeometry --shell "$CHECK")"
[ "$WIDTH" -gt 760 ] && [ "$WIDTH" -le 1600 ] || fail "the level check window is $WIDTH pixels wide"
# Out of the map's way, below it.
xdotool windowmove "$CHECK" 0 700
sleep 0.5

step "double-click the line of the thirty cells"
# Row heights follow the font and the Qt version, so the line is found on
# screen: a click in the list's empty part gives it the keys, End selects the
# last line (the ceilings', after the exit's error and the key door's
# warning), and the double-click goes to the middle of the highlighted row.
eval "$(xdotool getwindowgeometry --shell "$CHECK")"
xdotool mousemove $((X + 500)) $((Y + HEIGHT - 60)) click 1
sleep 0.3
xdotool key End
sleep 0.3
ROW=$(highlighted_row $((X + 500)) "$Y" "$HEIGHT")
[ -n "$ROW" ] || fail "End highlighted no line in the level check window"
xdotool mousemove $((X + 500)) $((Y + ROW))
sleep 0.3
# One xdotool run for both clicks: starting a second one on a busy machine
# can take longer than a double-click may.
xdotool click --repeat 2 --delay 150 1
moved() { [ "$(corner)" != "$BEFORE" ]; }
wait_until "the view to bring the first cell without a ceiling to its middle" moved

step "close the editor"
close_program "$EDITOR" "$MAIN"
say "PASS"
