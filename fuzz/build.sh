#!/bin/sh
# Builds the map reader and writer fuzz target with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer: fuzz/build.sh [outdir]  (default build-fuzz)
# QT_NO_DEBUG stays undefined so that Qt's own bounds checks fire.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-"$root/build-fuzz"}
mkdir -p "$out"
clang++-14 -std=c++17 -g -O1 -fPIC -Wall -Wextra \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/editor" \
    "$root/fuzz/fuzz_mapreader.cpp" "$root/editor/mapfile/mapformat.cpp" \
    "$root/editor/mapfile/texturepath.cpp" \
    $(pkg-config --cflags --libs Qt5Core) \
    -o "$out/fuzz_mapreader"
echo "$out/fuzz_mapreader"
