#!/usr/bin/env bash
# Start-up time (process start to its window shown on an X display) and peak
# memory of dbreset and dbtransfer, against a minimal Qt 6 dialog program,
# alternating, on Xvfb. Prints medians and ratios. Usage:
#   bench/startup_bench.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-15}

build=${BUILD_DIR:-build}
scripts/setup.sh "$build" > /dev/null


work=$(mktemp -d)
trap 'kill ${xvfb_pid:-} 2>/dev/null; rm -rf "$work"' EXIT
source scripts/xvfb.sh
start_xvfb
# Each program in its own application folder with placeholder databases.
for p in dbreset dbtransfer minimal_dialog; do
    mkdir -p "$work/$p"
    cp "$build"/bin/$p "$work/$p/"
    for f in MARLOcon.mdb MARLOspm.mdb cvmdb1.bin cvmdb2.bin; do echo x > "$work/$p/$f"; done
done

declare -A caption=(
    [minimal_dialog]='^Minimal dialog$'
    [dbreset]='^MARLO-Corvane:  Reset Database files \?$'
    [dbtransfer]='^MARLO-Corvane: Import / Export Memory Database Files 1\.0$'
)
declare -A times mems

measure() { # program -> "milliseconds kib"
    local p=$1 start end pid hwm
    start=$(date +%s%N)
    "$work/$p/$p" > /dev/null 2>&1 & pid=$!
    until xdotool search --onlyvisible --name "${caption[$p]}" > /dev/null 2>&1; do
        kill -0 $pid 2>/dev/null || { echo "$p ended before showing" >&2; exit 1; }
    done
    end=$(date +%s%N)
    sleep 0.3
    hwm=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
    kill $pid; wait $pid 2>/dev/null || true
    echo "$(( (end - start) / 1000 )) $hwm"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

for p in minimal_dialog dbreset dbtransfer; do measure $p > /dev/null; done # warm caches
for ((r = 0; r < rounds; r++)); do
    for p in minimal_dialog dbreset dbtransfer; do
        read -r us kib < <(measure $p)
        times[$p]+="$us "
        mems[$p]+="$kib "
    done
done

ref_t=$(echo ${times[minimal_dialog]} | tr ' ' '\n' | median)
ref_m=$(echo ${mems[minimal_dialog]} | tr ' ' '\n' | median)
printf '%-15s %12s %12s %10s %10s\n' program "start (ms)" "ratio" "peak (MiB)" "ratio"
for p in minimal_dialog dbreset dbtransfer; do
    t=$(echo ${times[$p]} | tr ' ' '\n' | median)
    m=$(echo ${mems[$p]} | tr ' ' '\n' | median)
    awk -v p=$p -v t=$t -v m=$m -v rt=$ref_t -v rm=$ref_m \
        'BEGIN {printf "%-15s %12.1f %12.3f %10.1f %10.3f\n", p, t/1000, t/rt, m/1024, m/rm}'
done
echo "(medians of $rounds alternating rounds; ratios against minimal_dialog; goal <= 1.1)"
