#!/usr/bin/env bash
# Compares what two builds of Tessel (Qt 5 and Qt 6) make of the same input,
# byte for byte:
#   - the map files the end-to-end sessions saved (*.saved in each build's
#     tests/e2e/output; run both builds' e2e tests first);
#   - tessel-map check, info and render on the test maps, run in one folder.
#
# Usage: tools/compare-qt-builds.sh BUILD_A BUILD_B
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 2 ] || { echo "usage: $0 BUILD_A BUILD_B" >&2; exit 2; }
a=$(cd "$1" && pwd)
b=$(cd "$2" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessel-compare.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

status=0
compared=0
differ() {
    echo "DIFFERENT: $*" >&2
    status=1
}

# The sessions' saved maps.
sessions=$a/tests/e2e/output
while IFS= read -r file; do
    name=${file#"$sessions/"}
    if [ ! -e "$b/tests/e2e/output/$name" ]; then
        differ "$name was saved by $a only"
    elif cmp -s "$file" "$b/tests/e2e/output/$name"; then
        echo "same: $name"
    else
        differ "$name"
    fi
    compared=$((compared + 1))
done < <(find "$sessions" -type f -name '*.saved' 2>/dev/null | sort)
[ "$compared" -gt 0 ] || differ "no saved maps in $sessions: run the end-to-end tests of both builds first"

# tessel-map on the same maps, from the same folder, so that the paths it
# prints are the same too.
cp -r "$root/tests/maptool/data" "$scratch/maps"
for side in a b; do
    build=${!side}
    mkdir "$scratch/$side"
    for map in "$scratch"/maps/*.map; do
        name=$(basename "$map" .map)
        (
            cd "$scratch"
            for run in "check maps/$name.map" "check --json --werror maps/$name.map" "info maps/$name.map" \
                "render maps/$name.map -o $side/$name.png --cell 8" \
                "render maps/$name.map -o $side/$name-light.png --layers Lightmap,Wall"; do
                # shellcheck disable=SC2086
                "$build/dist/Tessel/tessel-map" $run >>"$side/$name.out" 2>&1 || echo "exit $?" >>"$side/$name.out"
            done
        )
    done
done
if diff -r "$scratch/a" "$scratch/b" >&2; then
    echo "same: tessel-map on $(ls "$scratch"/maps/*.map | wc -l) maps"
else
    differ "tessel-map prints or draws differently"
fi
exit $status
