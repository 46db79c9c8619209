#!/bin/sh
# Fuzzes the map reader for the given number of seconds (default 300), starting
# from the seed maps in fuzz/corpus/. New inputs go to fuzz/corpus-work/, so the
# seeds stay as written. Exits non-zero on any finding; the crashing input is
# left in build-fuzz/findings/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
out="$root/build-fuzz"
binary="$out/fuzz_mapreader"
sources="$root/fuzz/fuzz_mapreader.cpp $root/editor/mapfile/mapformat.cpp $root/editor/mapfile/mapformat.h
         $root/editor/mapfile/mapdefinition.h $root/editor/model/sectorlighting.h
         $root/editor/mapfile/texturepath.cpp $root/editor/mapfile/texturepath.h $root/editor/mapfile/maplimits.h"
# shellcheck disable=SC2086
if [ ! -x "$binary" ] || [ -n "$(find $sources -newer "$binary")" ]; then
    "$root/fuzz/build.sh" "$out" >/dev/null
fi
mkdir -p "$root/fuzz/corpus-work" "$out/findings"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
exec "$binary" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -dict="$root/fuzz/map.dict" -artifact_prefix="$out/findings/" -print_final_stats=1 \
    "$root/fuzz/corpus-work" "$root/fuzz/corpus"
