#!/usr/bin/env bash
# Builds Tessel and runs every test stage; exits non-zero if any stage fails.
#
#   build            build/        the program and its tests (Qt 5)
#   unit             ctest -L unit in build/
#   e2e              ctest -L e2e in build/: the real programs under Xvfb
#   package          tools/check-package.sh: the Debian package, its desktop
#                    files, lintian, and the packaged editor opening a map under Xvfb
#   qt6-build        build-qt6/    the same sources with -DTESSEL_QT_MAJOR=6
#   qt6-unit         ctest -L unit in build-qt6/
#   qt6-e2e          ctest -L e2e in build-qt6/
#   qt-compare       tools/compare-qt-builds.sh: both builds wrote the same
#                    map files in the same sessions, and tessel-map prints the same
#   sanitize-build   build-asan/   the same with AddressSanitizer and UBSan
#   sanitize         ctest -L unit and -L e2e in build-asan/, failing on any report
#   fuzz             fuzz/run.sh 60: the map reader's and the model's fuzz targets
#
# A failed stage does not stop the later ones (except a failed build, which
# skips the stages that need it); the summary at the end lists them all.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

results=()
failed=0
stage_name=
stage_start=0

begin() {
    stage_name=$1
    stage_start=$SECONDS
    echo
    echo "==== $stage_name"
}

# end STATUS: records the stage's result and time.
end() {
    local status=$1 verdict=passed
    if [ "$status" -ne 0 ]; then
        verdict="FAILED"
        failed=1
    fi
    results+=("$(printf '%-16s %-8s %5ds' "$stage_name" "$verdict" $((SECONDS - stage_start)))")
    echo "==== $stage_name: $verdict"
    return "$status"
}

skip() {
    results+=("$(printf '%-16s %-8s' "$1" "skipped ($2)")")
    echo
    echo "==== $1: skipped ($2)"
}

summary() {
    echo
    echo "==== Summary"
    printf '%s\n' "${results[@]}"
    exit $failed
}

run_ctest() {
    local dir=$1 label=$2
    ctest --test-dir "$dir" -L "$label" -j"$jobs" --output-on-failure --no-tests=error
}

begin build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build build -j"$jobs"
build_ok=$?
end $build_ok

if [ $build_ok -eq 0 ]; then
    begin unit
    run_ctest build unit
    end $?

    begin e2e
    run_ctest build e2e
    end $?

    begin package
    tools/check-package.sh build
    end $?
else
    skip unit "no build"
    skip e2e "no build"
    skip package "no build"
fi

# Without debug information: it takes two fifths of the compile time, and this
# build is only tested, never debugged or packaged.
begin qt6-build
cmake -S . -B build-qt6 -DCMAKE_BUILD_TYPE=Release -DTESSEL_QT_MAJOR=6 && cmake --build build-qt6 -j"$jobs"
qt6_ok=$?
end $qt6_ok

if [ $qt6_ok -eq 0 ]; then
    begin qt6-unit
    run_ctest build-qt6 unit
    end $?

    begin qt6-e2e
    run_ctest build-qt6 e2e
    end $?
else
    skip qt6-unit "no Qt 6 build"
    skip qt6-e2e "no Qt 6 build"
fi

if [ $build_ok -eq 0 ] && [ $qt6_ok -eq 0 ]; then
    begin qt-compare
    tools/compare-qt-builds.sh build build-qt6
    end $?
else
    skip qt-compare "a build failed"
fi

# Sanitizer settings for everything built and run in build-asan, the build's
# own generators included: stop at the first report. Leak checking stays on;
# the only suppression is the offscreen platform plugin's screen, which Qt
# never frees.
sanitized() {
    ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1 \
    LSAN_OPTIONS=suppressions=$root/tools/lsan-suppressions.txt:print_suppressions=0 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$@"
}

begin sanitize-build
sanitized cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_SANITIZE=ON &&
    sanitized cmake --build build-asan -j"$jobs"
asan_ok=$?
end $asan_ok

if [ $asan_ok -eq 0 ]; then
    begin sanitize
    status=0
    sanitized run_ctest build-asan unit || status=1
    sanitized run_ctest build-asan e2e || status=1
    end $status
else
    skip sanitize "no sanitizer build"
fi

if [ -x fuzz/run.sh ]; then
    begin fuzz
    fuzz/run.sh 60
    end $?
else
    skip fuzz "no fuzz/run.sh"
fi

summary
