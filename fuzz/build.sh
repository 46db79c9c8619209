#!/bin/sh
# Builds the fuzz targets with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer:
#   fuzz/build.sh [outdir]  (default build-fuzz)
#   fuzz_mapreader  the map file reader and writer, and the texture path rule
#   fuzz_mapmodel   the map's operations with undo and redo, without a window
# QT_NO_DEBUG stays undefined so that Qt's own bounds checks fire.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-"$root/build-fuzz"}
mkdir -p "$out"
flags="-std=c++17 -g -O1 -fPIC -Wall -Wextra -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"
# shellcheck disable=SC2046,SC2086
clang++-14 $flags -I"$root/editor" \
    "$root/fuzz/fuzz_mapreader.cpp" "$root/editor/format/mapformat.cpp" \
    "$root/editor/format/texturepath.cpp" \
    $(pkg-config --cflags --libs Qt5Core) \
    -o "$out/fuzz_mapreader"
moc="$(pkg-config --variable=host_bins Qt5Core)/moc"
for header in mapmodel sector; do
    "$moc" "$root/editor/model/$header.h" -o "$out/moc_$header.cpp"
done
# shellcheck disable=SC2046,SC2086
clang++-14 $flags -I"$root/editor" \
    "$root/fuzz/fuzz_mapmodel.cpp" "$root"/editor/model/*.cpp "$root/editor/format/layernames.cpp" "$root/editor/format/maplimits.cpp" "$out/moc_mapmodel.cpp" "$out/moc_sector.cpp" \
    $(pkg-config --cflags --libs Qt5Widgets) \
    -o "$out/fuzz_mapmodel"
echo "$out/fuzz_mapreader $out/fuzz_mapmodel"
