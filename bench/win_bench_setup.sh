# Sourced by the Windows benchmarks: builds the Windows programs if needed
# and points Wine at a prefix of the benchmarks' own, made on first use.
build=${BUILD_DIR:-build-win}
scripts/setup.sh "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake > /dev/null

export WINEPREFIX=${BENCH_WINEPREFIX:-$PWD/$build/bench-wineprefix} WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || wineboot -i > /dev/null 2>&1
