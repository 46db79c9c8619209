#!/usr/bin/env bash
# How long a user waits for the editor to open a large map named on its
# command line, through the real window system (Xvfb), and how much memory
# the process peaks at. Times from the process start until the window's title
# names the map (the map is in and the window is up), and until it is idle:
# a key press (Ctrl+G) is answered with its dialog, which happens only once
# the work queued behind the load is done. Median of a few runs.
#
#   tools/measure-open.sh [path/to/Tessel] [runs]
#
# Needs xvfb-run, xdotool, ImageMagick and GNU time (tools/setup.sh installs them).
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"

# A map of `side` x `side` cells: Floor and Ceil everywhere, and Wall around
# the border when `walls` is 1.
write_map() {
    local name="$1" side="$2" walls="$3"
    mkdir -p "$work/$name"
    convert -size 64x64 xc:'#7a6a58' "$work/$name/floor.png"
    convert -size 64x64 xc:'#5a5a6a' "$work/$name/ceil.png"
    convert -size 64x64 xc:'#8a3a2a' "$work/$name/wall.png"
    awk -v side="$side" -v walls="$walls" -v name="$name" 'BEGIN {
        ORS = "\r\n"
        split("Ceil Wall Floor", layers, " ")
        for (l = 1; l <= 3; ++l) {
            print "#" layers[l]
            for (y = 0; y < side; ++y) {
                row = ""
                for (x = 0; x < side; ++x) {
                    border = x == 0 || y == 0 || x == side - 1 || y == side - 1
                    id = 0
                    if (layers[l] == "Ceil") id = 100
                    else if (layers[l] == "Floor") id = 102
                    else if (walls && border) id = 101
                    row = row id ","
                }
                print row
            }
            print ""
        }
        print "#Definitions"
        print "100,Ceil,," name "/ceil.png"
        print "101,Wall,Solid," name "/wall.png"
        print "102,Floor,," name "/floor.png"
    }' > "$work/$name.map"
}

measure() {
    local map="$1"
    export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
    local start end
    start=$(date +%s%N)
    ( cd "$(dirname "$program")" && /usr/bin/time -f '%M' -o "$work/rss" "$program" "$map" >/dev/null 2>&1 ) &
    local runner=$!
    until xdotool search --name "Editing: .*$(basename "$map")" >/dev/null 2>&1; do sleep 0.02; done
    end=$(date +%s%N)
    xdotool windowfocus "$(xdotool search --name "Editing: .*$(basename "$map")" | head -1)"
    xdotool key ctrl+g
    until xdotool search --name "^Go to Cell$" >/dev/null 2>&1; do sleep 0.01; done
    idle=$(date +%s%N)
    sleep 1
    pkill -TERM -f "^$program" || true
    wait "$runner" || true
    printf '%d %d %d\n' $(((end - start) / 1000000)) $(($(tail -1 "$work/rss") / 1024)) $(((idle - start) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One run, inside the X server that xvfb-run started.
if [ "${1:-}" = --inner ]; then
    program="$2" work="$3"
    measure "$4"
    exit
fi

program="$(realpath "${1:-$here/build/dist/Tessel/Tessel}")"
runs="${2:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
write_map walled160 160 1
write_map full350 350 0
for map in walled160 full350; do
    results="$(for _ in $(seq "$runs"); do
        xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inner "$program" "$work" "$work/$map.map"
    done)"
    cells=$(sed '/^#Definitions/q' "$work/$map.map" | grep -o '[1-9][0-9]*,' | wc -l)
    printf '%s (%d cells): open %s ms, idle %s ms, peak memory %s MB (median of %s)\n' "$map" "$cells" \
        "$(cut -d' ' -f1 <<<"$results" | median)" "$(cut -d' ' -f3 <<<"$results" | median)" \
        "$(cut -d' ' -f2 <<<"$results" | median)" "$runs"
done
