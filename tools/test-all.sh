#!/usr/bin/env bash
# Builds Tessel and runs every test stage; exits non-zero if any stage fails.
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
status=0

stage() { echo; echo "==== $*"; }

stage "Build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
cmake --build build -j"$jobs" || exit 1

stage "Unit tests"
ctest --test-dir build -L unit -j"$jobs" --output-on-failure || status=1

exit $status
