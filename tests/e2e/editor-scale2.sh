#!/usr/bin/env bash
# The editor on a screen of twice the density, by mouse and keyboard under
# Xvfb: the form keeps its layout, the grid lines and painted cells cover two
# screen pixels a logical pixel, so does the tool cursor, and clicks a few
# pixels inside a cell's corners land on that cell, as the saved map shows
# (kept as session.saved, to compare builds of both Qt versions). MODE:
#   factor  QT_SCALE_FACTOR=2 on a screen of 96 dpi
#   dpi     a screen of 192 dpi, in its size and in Xft.dpi as a desktop sets it
#
# Usage: editor-scale2.sh PATH/TO/Tessel X11CLOSE X11CURSOR OUTPUT_DIR factor|dpi
source "$(dirname "$0")/e2e-lib.sh"

TESSEL=$(readlink -f "$1")
X11CLOSE=$(readlink -f "$2")
X11CURSOR=$(readlink -f "$3")
MODE=$5
E2E_SCREEN=2048x1600x24
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI
case $MODE in
    factor) export QT_SCALE_FACTOR=2 ;;
    dpi) E2E_DPI=192 ;;
    *) echo "usage: $0 TESSEL X11CLOSE X11CURSOR OUTPUT_DIR factor|dpi" >&2 && exit 2 ;;
esac
e2e_begin "editor-scale2-$MODE" "$4"
export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data XDG_CACHE_HOME=$WORK/cache
[ "$MODE" = factor ] || xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t192')"

# At scale 1 the grid starts at (357, 11) and a cell is 64 pixels.
CELL=128 GRID_CELL="24 26 30" GRID_LINE="78 84 96"
APP=$WORK/app
mkdir -p "$APP"
cp -r "$(dirname "$TESSEL")/assets" "$(dirname "$TESSEL")/textures" "$APP"

SCREEN=$WORK/screen.ppm
grab() { import -window root -depth 8 "ppm:$SCREEN" 2>/dev/null; }
# pixels near|far "R G B" X Y [X Y ...], or find "R G B" X Y DX DY, in the last grab.
pixels() {
    local mode=$1 colour=$2
    shift 2
    # shellcheck disable=SC2086
    python3 "$E2E_DIR/screenpixels.py" "$SCREEN" "$mode" $colour "$@"
}
grid_shown() { grab && [ -n "$(pixels find "$GRID_LINE" 600 400 1 0)" ]; }
cell_is_filled() { grab && pixels far "$GRID_CELL" $((MX + $1 * CELL + 64)) $((MY + $2 * CELL + 64)) 2>/dev/null; }
# A left click DX, DY screen pixels from the cell's top left paints it.
paint_at() {
    click_at $((MX + $1 * CELL + $3)) $((MY + $2 * CELL + $4))
    wait_until "cell ($1, $2) to be painted" cell_is_filled "$1" "$2"
}

step "start the editor at scale 2 ($MODE)"
start_and_focus editor "$APP" '^Tessel$' "$TESSEL"
EDITOR=$LAST_PID WINDOW=$LAST_WINDOW
wait_until "the map grid" grid_shown
MX=$(pixels find "$GRID_LINE" 600 400 1 0)
MY=$(pixels find "$GRID_LINE" $((MX + 192)) 0 0 1)
say "grid at ($MX, $MY)"
[ "$MX" -ge 710 ] && [ "$MX" -le 718 ] && [ "$MY" -ge 18 ] && [ "$MY" -le 26 ] ||
    fail "the grid starts at ($MX, $MY), not at twice (357, 11): the form's layout changed"

step "grid lines two screen pixels wide, on the cells' edges only"
Y=$((MY + 300))
pixels near "$GRID_LINE" "$MX" $Y $((MX + 1)) $Y $((MX + CELL)) $Y $((MX + CELL + 1)) $Y || fail "grid lines"
pixels near "$GRID_CELL" $((MX + 2)) $Y $((MX + 64)) $Y $((MX + CELL - 1)) $Y || fail "a line inside a cell"

step "the pencil cursor at the screen's density"
xdotool mousemove $((MX + 600)) $((MY + 600))
sleep 0.3
xdotool mousemove $((MX + 610)) $((MY + 610))
cursor_doubled() { [ "$("$X11CURSOR")" = "64 64 32 32" ]; }
wait_until "a 64 x 64 cursor with its hot spot in the middle" cursor_doubled

step "paint walls at a cell's centre and a few pixels inside cells' corners"
paint_at 1 1 64 64
paint_at 3 2 4 4
paint_at 4 2 $((CELL - 5)) $((CELL - 5))
paint_at 6 0 $((CELL - 5)) 4
grab
pixels near "$GRID_CELL" $((MX + 2 * CELL + 64)) $((MY + 2 * CELL + 64)) $((MX + 5 * CELL + 64)) $((MY + 2 * CELL + 64)) \
    $((MX + 7 * CELL + 64)) $((MY + 64)) $((MX + 6 * CELL + 64)) $((MY + CELL + 64)) || fail "a neighbour was painted"
pixels far "$GRID_CELL" $((MX + CELL + 3)) $((MY + CELL + 3)) $((MX + 2 * CELL - 3)) $((MY + 2 * CELL - 3)) ||
    fail "cell (1, 1) does not cover its $CELL x $CELL screen pixels"

step "save with Ctrl+S; the saved cells are the ones clicked"
xdotool key ctrl+s
answer_file_dialog "$EDITOR" "Save Corvid Map" "$WORK/session.map"
wait_until "the title to name the map" title_is "$WINDOW" "Editing: $WORK/session.map - Tessel"
cp "$WORK/session.map" "$OUT/session.saved"
close_program "$EDITOR" "$WINDOW"
python3 "$E2E_DIR/mapcells.py" "$WORK/session.map" | cut -d' ' -f1-3 >"$OUT/session.cells"
printf '%s\n' "Wall 1 1" "Wall 3 2" "Wall 4 2" "Wall 6 0" | diff -u - "$OUT/session.cells" >&2 ||
    fail "the saved cells are not the ones clicked (- clicked, + saved)"
step "done"
say "PASS"
