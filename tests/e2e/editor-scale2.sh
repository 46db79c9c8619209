#!/usr/bin/env bash
# The editor on a screen of twice the usual density, by mouse and keyboard
# under Xvfb: the form keeps its layout, the grid and the painted cells are
# drawn at two screen pixels a logical pixel, the tool cursor is too, and a
# click lands on the cell under the pointer, also a few pixels from a
# cell's corner, as the saved map shows. MODE picks how the density comes:
#   factor  QT_SCALE_FACTOR=2 on a screen of 96 dpi
#   dpi     a screen that reports 192 dpi, in its size and in Xft.dpi
# The saved map stays in the output folder as session.saved, so that builds
# made with different Qt versions can be compared.
#
# Usage: editor-scale2.sh PATH/TO/Tessel X11CLOSE X11CURSOR OUTPUT_DIR MODE
source "$(dirname "$0")/e2e-lib.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
X11CURSOR=$(readlink -f "$3")
MODE=$5
E2E_SCREEN=2048x1600x24
case $MODE in
    factor) export QT_SCALE_FACTOR=2 ;;
    dpi) E2E_DPI=192 && unset QT_SCALE_FACTOR ;; # and Xft.dpi, as a desktop sets it
    *) echo "usage: $0 TESSEL X11CLOSE X11CURSOR OUTPUT_DIR factor|dpi" >&2 && exit 2 ;;
esac
unset QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI
e2e_begin "editor-scale2-$MODE" "$4"
# Settings, recovery copies and caches of this run only.
export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data XDG_CACHE_HOME=$WORK/cache

# Screen pixels. At the usual density the map's grid starts at (357, 11) and
# a cell is 64 pixels; here everything is twice that.
SCALE=2 CELL=128
GRID_CELL="24 26 30" GRID_LINE="78 84 96"

APP=$WORK/app
MAPS=$WORK/maps
mkdir -p "$APP" "$MAPS"
# The editor's own images: the grid tiles and cursors come in both densities.
cp -r "$(dirname "$TESSEL")/assets" "$(dirname "$TESSEL")/textures" "$APP"

# One screenshot, then as many pixels of it as a step needs:
# pixels near|far "R G B" X Y [X Y ...], find "R G B" X Y DX DY.
SCREEN=$WORK/screen.ppm
grab() { import -window root -depth 8 "ppm:$SCREEN" 2>/dev/null; }
pixels() {
    local mode=$1 colour=$2
    shift 2
    # shellcheck disable=SC2086
    python3 "$E2E_DIR/screenpixels.py" "$SCREEN" "$mode" $colour "$@"
}

cell_x() { echo $((MX + $1 * CELL + CELL / 2)); }
cell_y() { echo $((MY + $1 * CELL + CELL / 2)); }
cell_is_filled() { grab && pixels far "$GRID_CELL" "$(cell_x "$1")" "$(cell_y "$2")" 2>/dev/null; }
# Paints the cell with a left click DX, DY screen pixels from its top left.
paint_at() {
    click_at $((MX + $1 * CELL + $3)) $((MY + $2 * CELL + $4))
    wait_until "cell ($1, $2) to be painted" cell_is_filled "$1" "$2"
}

step "start the editor at scale 2 ($MODE)"
if [ "$MODE" = dpi ]; then
    # Qt 6 takes the density from the desktop's setting alone, Qt 5 also from the screen's size.
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	192" ||
        fail "cannot set Xft.dpi"
fi
start_program editor "$APP" "$TESSEL"
EDITOR=$LAST_PID
WINDOW=$(window_of "$EDITOR" '^Tessel$')
focus "$WINDOW"
grid_shown() { grab && [ -n "$(pixels find "$GRID_LINE" 600 400 1 0)" ]; }
wait_until "the map grid" grid_shown

step "the form keeps its layout: the grid starts where it does at scale 1, doubled"
MX=$(pixels find "$GRID_LINE" 600 400 1 0)
MY=$(pixels find "$GRID_LINE" $((MX + CELL + CELL / 2)) 0 0 1)
say "grid at ($MX, $MY)"
[ $((MX - 357 * SCALE)) -ge -4 ] && [ $((MX - 357 * SCALE)) -le 4 ] &&
    [ $((MY - 11 * SCALE)) -ge -4 ] && [ $((MY - 11 * SCALE)) -le 4 ] ||
    fail "the grid starts at ($MX, $MY), not near ($((357 * SCALE)), $((11 * SCALE))): the form's layout changed"

step "the grid lines are one logical pixel, two screen pixels, once per cell"
Y=$((MY + 300))
pixels near "$GRID_LINE" $MX $Y $((MX + 1)) $Y $((MX + CELL)) $Y $((MX + CELL + 1)) $Y ||
    fail "the grid lines are not two screen pixels wide on the cells' edges"
pixels near "$GRID_CELL" $((MX + 2)) $Y $((MX + CELL / 2)) $Y $((MX + CELL - 1)) $Y ||
    fail "a grid line inside a cell"

step "the pencil cursor is drawn at the screen's density"
xdotool mousemove "$(cell_x 5)" "$(cell_y 5)"
sleep 0.3
xdotool mousemove "$(cell_x 5)" $(($(cell_y 5) + 10))
cursor_is_doubled() { [ "$("$X11CURSOR")" = "64 64 32 32" ]; }
wait_until "a 64 x 64 cursor with its hot spot in the middle (got $("$X11CURSOR"))" cursor_is_doubled

step "paint walls at cell centres and a few pixels inside their corners"
paint_at 1 1 $((CELL / 2)) $((CELL / 2))
paint_at 3 2 4 4
paint_at 4 2 $((CELL - 5)) $((CELL - 5))
paint_at 6 0 $((CELL - 5)) 4
grab
pixels near "$GRID_CELL" "$(cell_x 2)" "$(cell_y 2)" "$(cell_x 5)" "$(cell_y 2)" "$(cell_x 6)" "$(cell_y 1)" \
    "$(cell_x 7)" "$(cell_y 0)" "$(cell_x 0)" "$(cell_y 1)" "$(cell_x 1)" "$(cell_y 0)" ||
    fail "a click painted a neighbouring cell"

step "a painted cell covers all of its screen pixels"
pixels far "$GRID_CELL" $((MX + CELL + 3)) $((MY + CELL + 3)) $((MX + CELL + CELL - 3)) $((MY + CELL + 3)) \
    $((MX + CELL + 3)) $((MY + CELL + CELL - 3)) $((MX + CELL + CELL - 3)) $((MY + CELL + CELL - 3)) ||
    fail "cell (1, 1) is not drawn over all of its $CELL x $CELL screen pixels"

step "save with Ctrl+S"
focus "$WINDOW"
xdotool key ctrl+s
answer_file_dialog "$EDITOR" "Save Corvid Map" "$MAPS/session.map"
wait_until "the window title to name the map" title_is "$WINDOW" "Editing: $MAPS/session.map - Tessel"
cp "$MAPS/session.map" "$OUT/session.saved"
close_program "$EDITOR" "$WINDOW"

step "the saved map holds the cells that were clicked"
python3 "$E2E_DIR/mapcells.py" "$MAPS/session.map" | cut -d' ' -f1-3 >"$OUT/session.cells" ||
    fail "session.map does not read back"
printf '%s\n' "Wall 1 1" "Wall 3 2" "Wall 4 2" "Wall 6 0" | diff -u - "$OUT/session.cells" >&2 ||
    fail "the saved cells are not the ones clicked (- clicked, + saved)"

step "done"
say "PASS"
