#!/usr/bin/env bash
# A level designer's session with the real editor under Xvfb, by mouse and
# keyboard: paints two layers, draws a wall and a door through the Shift and
# Ctrl temporary layers, makes a dynamic light that emits, fills a pocket and
# takes the fill back with Ctrl+Z and again with Ctrl+Y, saves with Ctrl+S
# through the file dialog, answers the unsaved-changes question on close with
# Cancel and then Discard, then loads the map into a fresh editor and saves
# it under a second name with Save As. On the way it reads the pointer's cell
# in the status bar, zooms with Ctrl+wheel, picks a texture with Alt+click and
# deletes a selection with Delete. Both files must describe the same cells, and both
# texture folders must hold the same images as the gallery.
# Then copies a piece with Ctrl+C, pastes it with Ctrl+V and a click, and saves a
# third map that holds both.
#
# Usage: editor-roundtrip.sh PATH/TO/Tessel X11CLOSE OUTPUT_DIR
# X11CLOSE asks a window to close as a window manager would.
source "$(dirname "$0")/e2e-lib.sh"
source "$(dirname "$0")/editor-grid.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin editor-roundtrip "$3"

LAYER_COMBO=(182 65)
LOAD_BUTTON=(100 676)
FILL_RADIO=(712 629) PENCIL_RADIO=(610 629)
# The properties window's widgets have fixed positions in their form.
SUBTYPE_COMBO=(170 141) MIN_FIELD=(95 251) MAX_FIELD=(195 251) BLINK_FIELD=(135 281)
RANDOM_CHECK=(47 310) EMITTER_CHECK=(47 340) RADIUS_SLIDER=(47 374) OK_BUTTON=(274 473)
# The Mode radio buttons, the gallery's first two items, and where the status
# bar's pointer label writes its text.
EDIT_RADIO=(403 648) SELECT_RADIO=(487 648) GALLERY_ITEM1=(69 198) GALLERY_ITEM2=(133 198)
POINTER_LABEL=360x24+20+721
GRANITE_COLOUR="90 90 90"

# A left click on an empty cell paints it with the Pencil.
paint() {
    click_at "$(cell_x "$1")" "$(cell_y "$2")"
    wait_until "cell ($1, $2) to be painted" cell_is_filled "$1" "$2"
}

APP=$WORK/app
MAPS=$WORK/maps
mkdir -p "$APP" "$MAPS"
make_images "$APP"
# A second wall texture to pick from the map; the session's saved cells never use it.
convert -size 64x64 xc:"rgb($(echo "$GRANITE_COLOUR" | tr ' ' ,))" "$APP/textures/Wall/granite.png"

# Width in pixels of the text in the status bar's pointer label (0: empty).
pointer_text_width() {
    local width
    width=$(import -window root -crop "$POINTER_LABEL" +repage png:- 2>/dev/null |
        convert - -fuzz 25% -trim -format '%w %h' info: 2>/dev/null) || { echo 0; return; }
    # A blank crop trims to a single pixel.
    [ "${width#* }" -gt 1 ] 2>/dev/null && echo "${width% *}" || echo 0
}
hover() {
    xdotool mousemove "$1" "$2"
    sleep 0.3
}
pointer_label_empty() { [ "$(pointer_text_width)" -eq 0 ]; }
pointer_label_shown() { [ "$(pointer_text_width)" -gt 0 ]; }

step "start the editor"
start_and_focus editor1 "$APP" '^Tessel$' "$TESSEL"
EDITOR=$LAST_PID WINDOW=$LAST_WINDOW
wait_until "the empty map grid" cell_is_empty 0 0
cell_is_empty 11 8 || fail "the map widget is not where the test expects it"

step "paint walls on the Wall layer"
paint 1 1
paint 1 2

step "the status bar names the cell under the pointer"
hover "$(cell_x 5)" "$(cell_y 5)"
wait_until "the pointer label" pointer_label_shown
EMPTY_WIDTH=$(pointer_text_width)        # "Map X 5, Map Y 5: empty"
hover "$(cell_x 1)" "$(cell_y 1)"
PAINTED_WIDTH=$(pointer_text_width)      # "Map X 1, Map Y 1: brick.png, Solid"
[ "$PAINTED_WIDTH" -gt $((EMPTY_WIDTH + 30)) ] ||
    fail "the pointer label does not name the painted cell ($PAINTED_WIDTH vs $EMPTY_WIDTH pixels of text)"
hover 150 400
wait_until "the pointer label to empty off the map" pointer_label_empty

step "Ctrl+wheel zooms out and in around the pointer"
focus "$WINDOW"
xdotool mousemove "$(cell_x 1)" "$(cell_y 1)"
xdotool keydown ctrl click 5 keyup ctrl
# At 48 pixels a cell, the wall stays under the pointer: it now covers map
# pixels 96 to 143 instead of 64 to 127.
wait_until "the zoomed-out wall" pixel_near $((MAP_X + 140)) $((MAP_Y + 140)) "$BRICK_COLOUR"
pixel_near $((MAP_X + 70)) $((MAP_Y + 70)) "$GRID_COLOUR" || fail "Ctrl+wheel did not zoom out around the pointer"
xdotool keydown ctrl click 4 keyup ctrl
wait_until "the zoom back at 64 pixels a cell" pixel_near $((MAP_X + 70)) $((MAP_Y + 70)) "$BRICK_COLOUR"
cell_is_empty 2 2 || fail "Ctrl+wheel up did not restore the view"

step "Alt+click picks a texture from the map"
click_at "${GALLERY_ITEM2[@]}"
paint 6 6
click_at "${GALLERY_ITEM1[@]}"
xdotool mousemove "$(cell_x 6)" "$(cell_y 6)" keydown alt
sleep 0.3
xdotool click 1 keyup alt
paint 7 6
pixel_near "$(cell_x 7)" "$(cell_y 6)" "$GRANITE_COLOUR" || fail "Alt+click did not make granite the current texture"

step "Select the two granite walls and press Delete"
click_at "${SELECT_RADIO[@]}"
# The tools read the pointer when they handle the event: give each its moment.
xdotool mousemove "$(cell_x 6)" "$(cell_y 6)" mousedown 1
sleep 0.3
xdotool mousemove "$(cell_x 7)" "$(cell_y 6)"
sleep 0.3
xdotool mouseup 1
xdotool key Delete
wait_until "the selection to be deleted" cell_is_empty 6 6
cell_is_empty 7 6 || fail "Delete left a selected wall"
click_at "${EDIT_RADIO[@]}"

step "paint floor on the Floor layer"
choose_in_combo "$EDITOR" "${LAYER_COMBO[@]}" Floor
paint 2 1
paint 2 2

step "hold Shift and paint a wall, and three around a pocket at (10, 0)"
focus "$WINDOW"
wait_until "the title to show unsaved changes" title_is "$WINDOW" "Tessel*"
xdotool keydown shift
paint 3 1
paint 9 0
paint 11 0
paint 10 1
xdotool keyup shift

step "hold Ctrl and paint a door"
xdotool keydown ctrl
paint 4 1
xdotool keyup ctrl

step "paint floor again after the keys are released"
paint 3 2

step "paint a light on the Lightmap layer"
choose_in_combo "$EDITOR" "${LAYER_COMBO[@]}" Lightmap
paint 8 5

step "open the light's properties"
click_at "$(cell_x 8)" "$(cell_y 5)"
FORM=$(window_of "$EDITOR" '^Object Properties$')
focus "$FORM"

step "make the light dynamic with its own values"
choose_in_combo "$EDITOR" "${SUBTYPE_COMBO[@]}" Dynamic
set_field "${MIN_FIELD[@]}" 30
set_field "${MAX_FIELD[@]}" 200
set_field "${BLINK_FIELD[@]}" 0.25
click_at "${RANDOM_CHECK[@]}"

step "tick the emission, radius 3, and press OK"
click_at "${EMITTER_CHECK[@]}"
click_at "${RADIUS_SLIDER[@]}"
xdotool key Right
click_at "${OK_BUTTON[@]}"
wait_until "the properties window to close" window_gone '^Object Properties$'
# The emission lights the cells around the light, three rings wide.
wait_until "the emission's outer ring" cell_is_filled 11 8
cell_is_filled 5 2 || fail "the emission did not reach cell (5, 2)"

step "flood fill the pocket on the Floor layer, undo with Ctrl+Z, redo with Ctrl+Y"
focus "$WINDOW"
choose_in_combo "$EDITOR" "${LAYER_COMBO[@]}" Floor
click_at "${FILL_RADIO[@]}"
click_at "$(cell_x 10)" "$(cell_y 0)"
wait_until "the filled pocket" cell_is_filled 10 0
xdotool key ctrl+z
wait_until "the fill to be undone" cell_is_empty 10 0
xdotool key ctrl+y
wait_until "the fill to be redone" cell_is_filled 10 0
click_at "${PENCIL_RADIO[@]}"

step "save with Ctrl+S as level1.map"
focus "$WINDOW"
xdotool key ctrl+s
answer_file_dialog "$EDITOR" "Save Corvid Map" "$MAPS/level1.map"
wait_until "the window title to name level1" title_is "$WINDOW" "Editing: $MAPS/level1.map - Tessel"
[ -f "$MAPS/level1.map" ] || fail "Ctrl+S wrote no level1.map"
cp "$MAPS/level1.map" "$OUT/level1.saved"

step "paint after the save: the title shows unsaved changes"
paint 5 0
wait_until "the title to show unsaved changes" title_is "$WINDOW" "Editing: $MAPS/level1.map* - Tessel"

step "close with unsaved changes and answer Cancel: the editor stays"
"$X11CLOSE" "$WINDOW" || fail "cannot ask the editor to close"
focus "$(window_of "$EDITOR" '^Unsaved changes$')"
xdotool key Escape
wait_until "the question to close" window_gone '^Unsaved changes$'
gone "$EDITOR" && fail "Cancel ended the editor"
title_is "$WINDOW" "Editing: $MAPS/level1.map* - Tessel" || fail "the editor window went away on Cancel"

step "close again and answer Discard: the editor ends with status 0"
"$X11CLOSE" "$WINDOW" || fail "cannot ask the editor to close"
focus "$(window_of "$EDITOR" '^Unsaved changes$')"
xdotool key d
wait_until "the editor to end" gone "$EDITOR"
expect_clean_exit "$EDITOR" "the editor (after Discard)"
PIDS=()
cmp -s "$MAPS/level1.map" "$OUT/level1.saved" || fail "Discard changed level1.map"

step "start a fresh editor"
start_and_focus editor2 "$APP" '^Tessel$' "$TESSEL"
EDITOR=$LAST_PID WINDOW=$LAST_WINDOW
wait_until "the empty map grid" cell_is_empty 1 1

step "load level1.map"
click_at "${LOAD_BUTTON[@]}"
answer_file_dialog "$EDITOR" "Open Corvid Map" "$MAPS/level1.map"
# A load shows the Wall layer.
wait_until "the loaded wall at (1, 1)" pixel_near "$(cell_x 1)" "$(cell_y 1)" "$BRICK_COLOUR"
wait_until "the window title to name the loaded level1" title_is "$WINDOW" "Editing: $MAPS/level1.map - Tessel"
cp "$MAPS/level1.map" "$OUT/level1.before"

step "save the loaded map with Save As (Ctrl+Shift+S) as level2.map"
focus "$WINDOW"
xdotool key ctrl+shift+s
answer_file_dialog "$EDITOR" "Save Corvid Map" "$MAPS/level2.map"
wait_until "the window title to name level2" title_is "$WINDOW" "Editing: $MAPS/level2.map - Tessel"
[ -f "$MAPS/level2.map" ] || fail "Save As wrote no level2.map"
cmp -s "$MAPS/level1.map" "$OUT/level1.before" || fail "Save As changed the loaded level1.map"

step "copy the walls and floor of cells (1, 1) to (2, 2) with Ctrl+C"
focus "$WINDOW"
# A click, not the S key: the key's animated click lands only a moment later.
click_at "${SELECT_RADIO[@]}"
xdotool mousemove "$(cell_x 1)" "$(cell_y 1)" mousedown 1
xdotool mousemove "$(cell_x 2)" "$(cell_y 2)"
xdotool mousemove "$(cell_x 2)" "$(cell_y 2)" mouseup 1
xdotool key ctrl+c

step "paste them with Ctrl+V and a click on cell (1, 4)"
xdotool key ctrl+v
xdotool mousemove "$(cell_x 1)" "$(cell_y 4)"
click_at "$(cell_x 1)" "$(cell_y 4)"
wait_until "the pasted wall at (1, 4)" pixel_near "$(cell_x 1)" "$(cell_y 4)" "$BRICK_COLOUR"
xdotool key Escape

step "Ctrl+Z takes the paste back, Ctrl+Y brings it again"
sleep 0.3
xdotool key ctrl+z
wait_until "Ctrl+Z to take the pasted wall at (1, 4) away" pixel_differs "$(cell_x 1)" "$(cell_y 4)" "$BRICK_COLOUR"
sleep 0.3
xdotool key ctrl+y
wait_until "Ctrl+Y to bring the pasted wall at (1, 4) back" pixel_near "$(cell_x 1)" "$(cell_y 4)" "$BRICK_COLOUR"

step "save the pasted map with Save As as level3.map"
xdotool key ctrl+shift+s
answer_file_dialog "$EDITOR" "Save Corvid Map" "$MAPS/level3.map"
wait_until "the window title to name level3" title_is "$WINDOW" "Editing: $MAPS/level3.map - Tessel"
close_program "$EDITOR" "$WINDOW"

step "compare the two maps cell by cell"
python3 "$E2E_DIR/mapcells.py" "$MAPS/level1.map" >"$OUT/level1.cells" || fail "level1.map does not read back"
python3 "$E2E_DIR/mapcells.py" "$MAPS/level2.map" >"$OUT/level2.cells" || fail "level2.map does not read back"
diff -u "$OUT/level1.cells" "$OUT/level2.cells" >&2 || fail "the maps differ (- saved by hand, + saved after loading)"

# What the session painted must be in the file, not only survive the trip.
expect_cell() {
    grep -Eqx "$1" "$OUT/level1.cells" || fail "no cell line matching: $1 (see $OUT/level1.cells)"
}
expect_cell 'Wall 1 1 \| Solid \| brick\.png \| -'
expect_cell 'Wall 1 2 \| Solid \| brick\.png \| -'
expect_cell 'Floor 2 1 \|  \| stone\.png \| -'
expect_cell 'Floor 2 2 \|  \| stone\.png \| -'
expect_cell 'Floor 3 2 \|  \| stone\.png \| -'
# Shift and Ctrl paint with the gallery's current (Floor) texture.
expect_cell 'Wall 3 1 \| Solid \| stone\.png \| -'
expect_cell 'Door 4 1 \| Solid \| stone\.png \| -'
expect_cell 'Wall 9 0 \| Solid \| stone\.png \| -'
expect_cell 'Floor 10 0 \|  \| stone\.png \| -'
# The light: its maximum is the level it emits, min and random as typed.
expect_cell 'Lightmap 8 5 \| Dynamic \| - \| 200,30,200,true,[0-9.e+-]+'
expect_cell 'Lightmap 9 5 \| Dynamic \| - \| 134,30,134,true,[0-9.e+-]+'
expect_cell 'Lightmap 11 8 \| Dynamic \| - \| 40,30,40,true,[0-9.e+-]+'
[ "$(grep -c '^Lightmap ' "$OUT/level1.cells")" -eq 49 ] || fail "the emission did not fill 7 x 7 Lightmap cells"
[ "$(grep -vc '^Lightmap ' "$OUT/level1.cells")" -eq 11 ] || fail "expected exactly 11 painted cells besides the lights"

step "the pasted map holds the piece twice"
python3 "$E2E_DIR/mapcells.py" "$MAPS/level3.map" >"$OUT/level3.cells" || fail "level3.map does not read back"
for cell in 'Wall 1 1 | Solid | brick.png' 'Wall 1 2 | Solid | brick.png' 'Floor 2 1 |  | stone.png' \
    'Floor 2 2 |  | stone.png'; do
    read -r layer x y rest <<<"$cell"
    grep -Fqx "$layer $x $y $rest | -" "$OUT/level3.cells" || fail "level3.map lost $layer $x $y"
    grep -Fqx "$layer $x $((y + 3)) $rest | -" "$OUT/level3.cells" || fail "level3.map has no pasted $layer $x $((y + 3))"
done
painted=$(grep -vc '^Lightmap ' "$OUT/level1.cells")
[ "$(grep -vc '^Lightmap ' "$OUT/level3.cells")" -eq $((painted + 4)) ] ||
    fail "level3.map should hold the $painted painted cells and 4 pasted ones"

step "compare the texture copies"
for map in level1 level2; do
    [ "$(cd "$MAPS/$map" && ls | xargs)" = "brick.png stone.png" ] ||
        fail "$map/ holds \"$(cd "$MAPS/$map" && ls | xargs)\", not brick.png and stone.png"
    cmp "$APP/textures/Wall/brick.png" "$MAPS/$map/brick.png" || fail "$map/brick.png differs from the gallery's"
    cmp "$APP/textures/Floor/stone.png" "$MAPS/$map/stone.png" || fail "$map/stone.png differs from the gallery's"
done

step "check the saved maps with tessel-map"
# The session placed no player and no exit; the door has a wall on one side only.
TESSEL_MAP=$(dirname "$TESSEL")/tessel-map
cat >"$OUT/expected-check" <<'EOF'
MAP: error: [Actor] there is no player start (an Actor "Player")
MAP: error: [Item] there is no exit (an Item "LevelEnd")
MAP:4:1: warning: [Door] a door without walls on two opposite sides
EOF
for map in level1 level2; do
    status=0
    (cd "$MAPS" && "$TESSEL_MAP" check "$map.map") >"$OUT/$map.check" || status=$?
    [ "$status" -eq 1 ] || fail "tessel-map check $map.map exited with $status, not 1"
    sed "s/^MAP/$map.map/" "$OUT/expected-check" | diff -u - "$OUT/$map.check" >&2 ||
        fail "tessel-map check $map.map reports other problems (see $OUT/$map.check)"
    "$TESSEL_MAP" info "$MAPS/$map.map" >"$OUT/$map.info" || fail "tessel-map info $map.map failed"
    grep -qx "textures: 2 referenced, 0 missing or refused" "$OUT/$map.info" || fail "info on $map.map: $(cat "$OUT/$map.info")"
    grep -qx "lights: 49 cells (0 static, 49 dynamic), emission 40 to 200" "$OUT/$map.info" ||
        fail "info on $map.map does not count the lights"
done
"$TESSEL_MAP" render "$MAPS/level1.map" -o "$OUT/level1.png" --cell 8 || fail "tessel-map render failed"
# The wall at (1, 1) is drawn plain in the default (Wall) view.
[ "$(convert "$OUT/level1.png" -format '%[pixel:p{12,12}]' info:)" = "srgb(220,30,30)" ] ||
    fail "the rendered wall at (1, 1) is not brick red"

step "walk the saved map in the preview"
start_and_focus editor3 "$APP" '^Editing: .*level1\.map - Tessel$' "$TESSEL" "$MAPS/level1.map"
EDITOR=$LAST_PID WINDOW=$LAST_WINDOW
# No player start: Ctrl+F5 stands the camera on the cell under the pointer,
# (0, 1), facing its first open side (south: the brick wall is east of it).
xdotool mousemove "$(cell_x 0)" "$(cell_y 1)"
xdotool key ctrl+F5
PREVIEW=$(window_of "$EDITOR" '^Preview$')
focus "$PREVIEW"
read -r _ PX PY PW PH _ <<<"$(xdotool getwindowgeometry --shell "$PREVIEW" | cut -d= -f2 | xargs)"
centre_x=$((PX + PW / 2)) centre_y=$((PY + (PH - 30) / 2))
import -window root -crop "${PW}x$((PH - 30))+$PX+$PY" "$OUT/preview-south.png"
brick_ahead() {
    local r g b
    read -r r g b <<<"$(pixel "$centre_x" "$centre_y")"
    [ -n "${b:-}" ] && [ "$r" -gt $((2 * g + 8)) ] && [ "$r" -gt $((2 * b + 8)) ]
}
brick_ahead && fail "the camera faces the brick wall before turning"
# Turning left swings the view from south to east, onto the brick wall. The
# wall first comes into the middle at its edge, about 45 degrees short of east,
# and spreads to the right of the middle as the turn goes on. Short taps turn
# a few degrees each, however slowly this machine answers, until the wall
# fills the middle and both sides of it.
brick_right() {
    local r g b
    read -r r g b <<<"$(pixel $((centre_x + PW / 6)) "$centre_y")"
    [ -n "${b:-}" ] && [ "$r" -gt $((2 * g + 8)) ] && [ "$r" -gt $((2 * b + 8)) ]
}
brick_left() {
    local r g b
    read -r r g b <<<"$(pixel $((centre_x - PW / 6)) "$centre_y")"
    [ -n "${b:-}" ] && [ "$r" -gt $((2 * g + 8)) ] && [ "$r" -gt $((2 * b + 8)) ]
}
faces_wall() { brick_ahead && brick_right && brick_left; }
taps=0
until faces_wall; do
    [ $((taps += 1)) -le 150 ] || fail "150 taps of Left never turned the camera to face the brick wall"
    xdotool keydown Left
    sleep 0.03
    xdotool keyup Left
    sleep 0.1
done
# Up walks towards it; the wall stops the camera, so it still fills the view.
# A short step (half a cell): a longer one would slide along the wall, as
# walking is meant to, and could pass its corner when the turn stopped askew.
xdotool keydown Up
sleep 0.2
xdotool keyup Up
brick_ahead || fail "walking forward lost the wall ahead"
import -window root -crop "${PW}x$((PH - 30))+$PX+$PY" "$OUT/preview-east.png"
[ "$(compare -metric AE "$OUT/preview-south.png" "$OUT/preview-east.png" null: 2>&1 | cut -d' ' -f1)" -gt 1000 ] ||
    fail "the preview did not change while turning and walking"
xdotool key Escape
wait_until "the preview to close" window_gone '^Preview$'
close_program "$EDITOR" "$WINDOW"

step "done"
say "PASS"
