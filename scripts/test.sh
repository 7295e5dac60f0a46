#!/usr/bin/env bash
# Sets up, builds and runs every test: a Release build, a Debug build with
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows builds,
# 64-bit and 32-bit, whose tests run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh build
(cd build && ctest --output-on-failure -j"$(nproc)")

scripts/setup.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DMARLO_SANITIZE=ON -DMARLO_BUILD_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
scripts/setup.sh build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Wine's server outlives the tests: end it, so nothing waits for it.
trap 'for b in build-win build-win32; do WINEPREFIX="$PWD/$b/wineprefix" wineserver -k 2>/dev/null || true; done' EXIT
(cd build-win && ctest --output-on-failure -j"$(nproc)")
# The 32-bit programs, the ones users get: their tests, without benchmarks.
scripts/setup.sh build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DMARLO_BUILD_BENCH=OFF
(cd build-win32 && ctest --output-on-failure -j"$(nproc)")
echo "All tests passed."
