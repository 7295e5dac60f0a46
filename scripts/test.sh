#!/usr/bin/env bash
# Sets up, builds and runs every test: a Release build, then a Debug build
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh build
(cd build && ctest --output-on-failure -j"$(nproc)")

scripts/setup.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DMARLO_SANITIZE=ON -DMARLO_BUILD_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
echo "All tests passed."
