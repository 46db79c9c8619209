#!/bin/sh
# Fuzzes for the given number of seconds (default 300), shared evenly by the
# targets named (default both):
#   mapreader  the map reader and writer, from the seed maps in fuzz/corpus/
#   mapmodel   the map's operations with undo and redo, from nothing
# New inputs go to fuzz/corpus-work/ and fuzz/corpus-work-model/, so the seeds
# stay as written. Exits non-zero on any finding; the input that found it is
# left in build-fuzz/findings/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
[ $# -gt 0 ] && shift
targets=${*:-mapreader mapmodel}
out="$root/build-fuzz"
sources="$root/fuzz/fuzz_mapreader.cpp $root/fuzz/fuzz_mapmodel.cpp $root/fuzz/build.sh
         $root/editor/format/mapformat.cpp $root/editor/format/mapformat.h
         $root/editor/format/mapdefinition.h $root/editor/format/texturepath.cpp
         $root/editor/format/texturepath.h $root/editor/format/maplimits.h $root/editor/model"
# shellcheck disable=SC2086
if [ ! -x "$out/fuzz_mapreader" ] || [ ! -x "$out/fuzz_mapmodel" ] \
    || [ -n "$(find $sources -newer "$out/fuzz_mapmodel" -o -newer "$out/fuzz_mapreader" | head -1)" ]; then
    "$root/fuzz/build.sh" "$out" >/dev/null
fi
mkdir -p "$root/fuzz/corpus-work" "$root/fuzz/corpus-work-model" "$out/findings"
share=$((seconds / $(echo "$targets" | wc -w)))
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for target in $targets; do
    case $target in
    mapreader)
        "$out/fuzz_mapreader" -max_total_time="$share" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
            -dict="$root/fuzz/map.dict" -artifact_prefix="$out/findings/" -print_final_stats=1 \
            "$root/fuzz/corpus-work" "$root/fuzz/corpus" ;;
    mapmodel)
        # Long inputs from the start: each byte or few is an edit, and faults
        # hide in long sequences.
        "$out/fuzz_mapmodel" -max_total_time="$share" -max_len=256 -len_control=0 -timeout=10 \
            -rss_limit_mb=2048 -artifact_prefix="$out/findings/model-" -print_final_stats=1 \
            "$root/fuzz/corpus-work-model" ;;
    *)
        echo "fuzz/run.sh: no target \"$target\" (mapreader, mapmodel)" >&2
        exit 2 ;;
    esac
done
