#!/usr/bin/env bash
# The status bar's pointer label follows the keys without a mouse move, with
# real X input: on the Floor layer, over a cell that holds a wall, holding
# Shift names the wall and releasing it names the floor's empty cell again;
# over a door (painted with the wall's texture), Ctrl names the door,
# Ctrl+wheel zooms out around the pointer,
# and releasing Ctrl names the empty floor again.
#
# Usage: pointer-label.sh PATH/TO/Tessel X11CLOSE OUTPUT_DIR
source "$(dirname "$0")/e2e-lib.sh"
source "$(dirname "$0")/editor-grid.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin pointer-label "$3"

LAYER_COMBO=(182 65)
POINTER_LABEL=360x24+20+721

# Width in pixels of the text in the pointer label (0: empty).
pointer_text_width() {
    local size
    size=$(import -window root -crop "$POINTER_LABEL" +repage png:- 2>/dev/null |
        convert - -fuzz 25% -trim -format '%w %h' info: 2>/dev/null) || { echo 0; return; }
    [ "${size#* }" -gt 1 ] 2>/dev/null && echo "${size% *}" || echo 0
}
label_width_is() { [ "$(pointer_text_width)" -eq "$1" ]; }
label_wider_than() { [ "$(pointer_text_width)" -gt $(($1 + 30)) ]; }

APP=$WORK/app
mkdir -p "$APP"
make_images "$APP"

step "start the editor"
start_and_focus editor "$APP" '^Tessel$' "$TESSEL"
EDITOR=$LAST_PID WINDOW=$LAST_WINDOW
wait_until "the empty map grid" pixel_near "$(cell_x 0)" "$(cell_y 0)" "$GRID_COLOUR"

step "a wall at (1, 1) and, with Ctrl held, a door at (3, 1)"
click_at "$(cell_x 1)" "$(cell_y 1)"
wait_until "the wall" cell_is_filled 1 1
xdotool mousemove "$(cell_x 3)" "$(cell_y 1)" keydown ctrl
sleep 0.2
xdotool click 1 keyup ctrl
wait_until "the door" cell_is_filled 3 1

step "on the Floor layer, rest the pointer on the wall"
choose_in_combo "$EDITOR" "${LAYER_COMBO[@]}" Floor
focus "$WINDOW"
xdotool mousemove "$(cell_x 1)" "$(cell_y 1)"
wait_until "the pointer label" label_wider_than 0
sleep 0.3
FLOOR_WIDTH=$(pointer_text_width) # "Map X 1, Map Y 1: empty"

step "hold Shift: the label names the wall"
xdotool keydown shift
wait_until "the label to name the wall" label_wider_than "$FLOOR_WIDTH"

step "release Shift: the label names the empty floor again"
xdotool keyup shift
wait_until "the label to name the empty floor" label_width_is "$FLOOR_WIDTH"

step "over the door, hold Ctrl: the label names the door"
xdotool mousemove "$(cell_x 3)" "$(cell_y 1)"
sleep 0.3
EMPTY_WIDTH=$(pointer_text_width) # "Map X 3, Map Y 1: empty"
xdotool keydown ctrl
wait_until "the label to name the door" label_wider_than "$EMPTY_WIDTH"

step "Ctrl+wheel zooms out around the pointer; releasing Ctrl names the empty floor"
xdotool click 5
# At 48 pixels a cell the door stays under the pointer, so the map moves by
# one cell: the wall at (1, 1) leaves map pixels 64 to 127 for 96 to 143.
wait_until "the zoomed-out map" pixel_near $((MAP_X + 70)) $((MAP_Y + 70)) "$GRID_COLOUR"
label_wider_than "$EMPTY_WIDTH" || fail "the label stopped naming the door while Ctrl is held"
xdotool keyup ctrl
wait_until "the label to name the empty floor" label_width_is "$EMPTY_WIDTH"

step "close the editor and discard the map"
"$X11CLOSE" "$WINDOW" || fail "cannot ask the editor to close"
focus "$(window_of "$EDITOR" '^Unsaved changes$')"
xdotool key d
wait_until "the editor to end" gone "$EDITOR"
expect_clean_exit "$EDITOR" "the editor"
PIDS=()

step "done"
say "PASS"
