#!/usr/bin/env bash
# The shape tools with real drags, as a person makes them: a line, an outline
# rectangle, a filled one (R pressed again), a right drag that erases, a line
# of doors with Ctrl held and a room, each in one drag with pauses; a drag
# ended by Escape draws nothing. The saved map must hold
# exactly those cells, and one Ctrl+Z takes the room away as a whole.
#
# Usage: editor-shapes.sh PATH/TO/Tessel X11CLOSE OUTPUT_DIR
source "$(dirname "$0")/e2e-lib.sh"
source "$(dirname "$0")/editor-grid.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin editor-shapes "$3"

# A person's drag from one cell to another: press, a moment, two moves on
# the way, a moment, release; "escape" fifth ends it with Escape first, a
# sixth argument names the button (1 unless told).
drag_cells() {
    local x1=$1 y1=$2 x2=$3 y2=$4 button=${6:-1}
    xdotool mousemove "$(cell_x "$x1")" "$(cell_y "$y1")"
    sleep 0.2
    xdotool mousedown "$button"
    sleep 0.12
    xdotool mousemove "$(cell_x $(((x1 + x2) / 2)))" "$(cell_y $(((y1 + y2) / 2)))"
    sleep 0.12
    xdotool mousemove "$(cell_x "$x2")" "$(cell_y "$y2")"
    sleep 0.12
    if [ "${5:-}" = escape ]; then
        xdotool key Escape
        sleep 0.12
    fi
    xdotool mouseup "$button"
}

# "Layer x y" lines of every cell of a rectangle, its outline or all of it.
rect_lines() {
    local layer=$1 x1=$2 y1=$3 x2=$4 y2=$5 form=$6 x y
    for ((y = y1; y <= y2; y++)); do
        for ((x = x1; x <= x2; x++)); do
            if [ "$form" = filled ] || [ $x -eq $x1 ] || [ $x -eq $x2 ] || [ $y -eq $y1 ] || [ $y -eq $y2 ]; then
                echo "$layer $x $y"
            fi
        done
    done
}

cells_of() { python3 "$E2E_DIR/mapcells.py" "$1" | cut -d' ' -f1-3 | sort || fail "$1 does not read back"; }

APP=$WORK/app
MAPS=$WORK/maps
mkdir -p "$APP" "$MAPS"
make_images "$APP"

step "start the editor"
start_and_focus editor "$APP" '^Tessel$' "$TESSEL"
EDITOR=$LAST_PID WINDOW=$LAST_WINDOW
wait_until "the empty map grid" cell_is_empty 0 0

step "L, then a line from (1, 1) to (4, 3): side steps only"
xdotool key l
drag_cells 1 1 4 3
for cell in "1 1" "2 1" "2 2" "3 2" "3 3" "4 3"; do
    wait_until "the line's cell ($cell)" cell_is_brick $cell
done
cell_is_empty 1 2 || fail "the line painted a cell off its path"

step "R, then an outline from (6, 0) to (9, 2)"
xdotool key r
drag_cells 6 0 9 2
wait_until "the outline's corner" cell_is_brick 9 2
cell_is_empty 7 1 || fail "the outline filled its inside"

step "R again (filled), then a drag from (5, 0) to (5, 3) ended by Escape"
xdotool key r
drag_cells 5 0 5 3 escape
sleep 0.3
for y in 0 1 2 3; do
    cell_is_empty 5 "$y" || fail "the drag ended by Escape drew (5, $y)"
done

step "a filled rectangle from (3, 7) to (1, 5)"
drag_cells 3 7 1 5
wait_until "the filled rectangle's middle" cell_is_brick 2 6

step "a right drag from (1, 5) to (1, 7) erases that column of it"
drag_cells 1 5 1 7 "" 3
for y in 5 6 7; do
    wait_until "the right drag to erase (1, $y)" cell_is_empty 1 "$y"
done
cell_is_brick 2 6 || fail "the right drag erased beyond its rectangle"

step "L, then with Ctrl held a line from (0, 8) to (3, 8): doors"
xdotool key l
xdotool keydown ctrl
drag_cells 0 8 3 8
xdotool keyup ctrl
# In the current texture, as the Pencil paints on a held layer, tinted as
# another layer's cells are.
for x in 0 1 2 3; do
    wait_until "the door at ($x, 8)" cell_is_filled "$x" 8
done
cell_is_brick 0 8 && fail "the line went to the Wall layer, not the Door layer"

step "O, then a room from (6, 4) to (9, 7)"
xdotool key o
drag_cells 6 4 9 7
wait_until "the room's walls" cell_is_brick 9 7
# Its floor and ceiling lie on layers the Wall layer does not show.
cell_is_empty 7 5 || fail "the room put a wall inside"

step "save as shapes.map: exactly the cells drawn"
xdotool key ctrl+s
answer_file_dialog "$EDITOR" "Save Corvid Map" "$MAPS/shapes.map"
wait_until "the title to name shapes.map" title_is "$WINDOW" "Editing: $MAPS/shapes.map - Tessel"
{
    printf 'Wall %s\n' "1 1" "2 1" "2 2" "3 2" "3 3" "4 3"
    rect_lines Wall 6 0 9 2 outline
    rect_lines Wall 2 5 3 7 filled
    printf 'Door %s\n' "0 8" "1 8" "2 8" "3 8"
    rect_lines Wall 6 4 9 7 outline
    rect_lines Floor 7 5 8 6 filled
    rect_lines Ceil 7 5 8 6 filled
} | sort >"$OUT/expected.cells"
cells_of "$MAPS/shapes.map" >"$OUT/saved.cells"
diff -u "$OUT/expected.cells" "$OUT/saved.cells" >&2 || fail "the saved cells are not the shapes drawn"

step "one Ctrl+Z takes the whole room away"
# Without a window manager the keyboard does not come back by itself after the dialog.
focus "$WINDOW"
xdotool key ctrl+z
wait_until "the room's walls to go" cell_is_empty 9 7
cell_is_empty 6 4 || fail "Ctrl+Z left a wall of the room"
cell_is_brick 2 6 || fail "Ctrl+Z took more than the room"

step "Ctrl+Y brings it back; saved again, the map is as before"
xdotool key ctrl+y
wait_until "the room's walls to come back" cell_is_brick 9 7
xdotool key ctrl+s
wait_until "the save" title_is "$WINDOW" "Editing: $MAPS/shapes.map - Tessel"
cells_of "$MAPS/shapes.map" | diff -u "$OUT/expected.cells" - >&2 || fail "redo did not give back the room"

step "close the editor"
close_program "$EDITOR" "$WINDOW"

step "done"
say "PASS"
