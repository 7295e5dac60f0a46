#!/usr/bin/env bash
# The reset's pauses on the Windows build, under Wine: the whole reset
# sequence's pauses made by ::Sleep and by the window side's PrecisePause,
# timed, against their nominal sum (bench/winui/reset_pauses.cpp). Under Wine
# ::Sleep is exact already; on Windows it rounds each pause up to the timer
# tick. Usage: bench/win_reset_pacing.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}

source bench/win_bench_setup.sh
trap 'wineserver -k 2> /dev/null || true' EXIT
wine "$build/bin/reset_pauses.exe" "$rounds" 2> /dev/null
