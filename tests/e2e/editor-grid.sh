# Where the editor's map grid is on screen, for the editor sessions. Sourced
# after e2e-lib.sh.
#
# There is no window manager, so every window opens at (0, 0). The map widget's
# top left follows from the fixed-width left column and the layout margins; at
# the start zoom (4) a cell is 64 pixels.
MAP_X=357 MAP_Y=11 CELL=64

# An empty cell's grid colour, and the test images' colours.
GRID_COLOUR="40 60 90"
BRICK_COLOUR="220 30 30"

cell_x() { echo $((MAP_X + $1 * CELL + CELL / 2)); }
cell_y() { echo $((MAP_Y + $1 * CELL + CELL / 2)); }
cell_is() { pixel_near "$(cell_x "$1")" "$(cell_y "$2")" "$3"; }
cell_is_empty() { cell_is "$1" "$2" "$GRID_COLOUR"; }
cell_is_filled() { pixel_differs "$(cell_x "$1")" "$(cell_y "$2")" "$GRID_COLOUR"; }
cell_is_brick() { cell_is "$1" "$2" "$BRICK_COLOUR"; }
