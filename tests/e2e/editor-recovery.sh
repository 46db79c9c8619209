#!/usr/bin/env bash
# Unsaved work outlives a crash, with its images, and every editor keeps its
# own. Paints two walls and a floor with real clicks, waits for the recovery
# copy, kills the editor with SIGKILL and starts it again with the gallery's
# wall image moved away: Return answers "Yes" to the recovery question, the
# walls come back brick red from the copy's own image, and Save As copies the
# images beside the new map. Then two editors run at once: each writes a copy
# of its own, and closing one with Discard leaves the other's.
#
# Usage: editor-recovery.sh PATH/TO/Tessel X11CLOSE OUTPUT_DIR
source "$(dirname "$0")/e2e-lib.sh"
source "$(dirname "$0")/editor-grid.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
e2e_begin editor-recovery "$3"

LAYER_COMBO=(182 65)

# A person's click: press, a pause, release.
paint() {
    xdotool mousemove "$(cell_x "$1")" "$(cell_y "$2")" mousedown 1
    sleep 0.12
    xdotool mouseup 1
    wait_until "cell ($1, $2) to be painted" cell_is_filled "$1" "$2"
}

RECOVERY=$XDG_DATA_HOME/Tessel/recovery
copies() { find "$RECOVERY" -name unsaved.map 2>/dev/null | sort; }
copy_count() { copies | wc -l; }
# True when exactly N copies exist and together hold CELLS painted cells.
copies_hold() {
    local n=$1 cells=$2 total=0 copy
    [ "$(copy_count)" -eq "$n" ] || return 1
    for copy in $(copies); do
        total=$((total + $(python3 "$E2E_DIR/mapcells.py" "$copy" 2>/dev/null | wc -l)))
    done
    [ "$total" -eq "$cells" ]
}

APP=$WORK/app
MAPS=$WORK/maps
mkdir -p "$APP" "$MAPS"
make_images "$APP"

step "paint two walls and a floor"
start_and_focus editor1 "$APP" '^Tessel' "$TESSEL"
EDITOR=$LAST_PID WINDOW=$LAST_WINDOW
paint 1 1
paint 2 1
choose_in_combo "$EDITOR" "${LAYER_COMBO[@]}" Floor
paint 1 2

step "the recovery copy follows within seconds"
wait_until "a recovery copy with the three cells" copies_hold 1 3
cp "$(copies)" "$OUT/unsaved.map"

step "kill the editor"
kill -KILL "$EDITOR"
wait "$EDITOR" 2>/dev/null || true
PIDS=()
# The copy's own images must carry the recovered walls.
mv "$APP/textures/Wall/brick.png" "$WORK/brick.png"

step "restart and answer Yes with Return"
start_and_focus editor2 "$APP" '^Recover unsaved work$' "$TESSEL"
EDITOR=$LAST_PID QUESTION=$LAST_WINDOW
xdotool key Return
wait_until "the question to close" window_gone '^Recover unsaved work$'
WINDOW=$(window_of "$EDITOR" '^Tessel')
wait_until "the title to show unsaved work" title_is "$WINDOW" "Tessel*"
wait_until "the recovered wall at (1, 1)" cell_is_brick 1 1
cell_is_brick 2 1 || fail "the wall at (2, 1) did not come back brick red"

step "Save As copies the recovered images"
focus "$WINDOW"
xdotool key ctrl+shift+s
answer_file_dialog "$EDITOR" "Save Corvid Map" "$MAPS/back.map"
wait_until "the title to name back.map" title_is "$WINDOW" "Editing: $MAPS/back.map - Tessel"
python3 "$E2E_DIR/mapcells.py" "$MAPS/back.map" >"$OUT/back.cells" || fail "back.map does not read back"
python3 "$E2E_DIR/mapcells.py" "$OUT/unsaved.map" | diff -u - "$OUT/back.cells" >&2 ||
    fail "back.map does not hold the recovered cells"
cmp "$WORK/brick.png" "$MAPS/back/brick.png" || fail "back/brick.png is not the wall's image"
cmp "$APP/textures/Floor/stone.png" "$MAPS/back/stone.png" || fail "back/stone.png is not the floor's image"
close_program "$EDITOR" "$WINDOW"
[ "$(copy_count)" -eq 0 ] || fail "a normal end left a recovery copy: $(copies)"
mv "$WORK/brick.png" "$APP/textures/Wall/brick.png"

step "two editors at once keep their own copies"
start_and_focus editor3 "$APP" '^Tessel' "$TESSEL"
FIRST=$LAST_PID FIRST_WINDOW=$LAST_WINDOW
paint 1 1
start_and_focus editor4 "$APP" '^Tessel' "$TESSEL"
SECOND=$LAST_PID SECOND_WINDOW=$LAST_WINDOW
# A running editor's copy is never offered: the click reaches the map.
paint 4 4
paint 5 4
wait_until "two copies, one cell and two cells" copies_hold 2 3

step "closing one with Discard leaves the other's copy"
"$X11CLOSE" "$SECOND_WINDOW" || fail "cannot ask the second editor to close"
focus "$(window_of "$SECOND" '^Unsaved changes$')"
xdotool key d
wait_until "the second editor to end" gone "$SECOND"
expect_clean_exit "$SECOND" "the second editor"
PIDS=("$FIRST")
copies_hold 1 1 || fail "the first editor's copy did not stay alone: $(copies)"
"$X11CLOSE" "$FIRST_WINDOW" || fail "cannot ask the first editor to close"
focus "$(window_of "$FIRST" '^Unsaved changes$')"
xdotool key d
wait_until "the first editor to end" gone "$FIRST"
expect_clean_exit "$FIRST" "the first editor"
PIDS=()
[ "$(copy_count)" -eq 0 ] || fail "copies left after both editors ended: $(copies)"

step "done"
say "PASS"
