#!/bin/sh
# Builds the copy benchmark (Release) and runs it on a 1 GiB file; the files
# go again afterwards. BUILD_DIR and BENCH_DIR choose where; extra arguments
# (MiB, rounds) pass through.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}
work=${BENCH_DIR:-$build/copy-bench-files}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMARLO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target copy_bench >/dev/null
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT INT TERM
"$build/bin/copy_bench" "$work" "$@"
