#!/usr/bin/env bash
# Start-up time of dbreset.exe and dbtransfer.exe under Wine, from `wine
# X.exe` to its window mapped on a virtual display, against the least window
# of their kind (bench/winui/minimal_window.cpp: common controls 6, a
# progress bar, an Arial font), alternating, with Wine's server kept running.
# Prints each one's size and what it imports at start, the medians and
# fastest runs, and the ratios. Usage:
#   bench/win_startup_bench.sh [rounds]
# COMPARE=<folder> adds the dbreset.exe and dbtransfer.exe of another build
# (as "dbreset_compare"), measured in the same rounds.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-25}

source bench/win_bench_setup.sh

work=$(mktemp -d)
trap 'wineserver -k 2> /dev/null || true; kill ${xvfb_pid:-} 2> /dev/null; rm -rf "$work"' EXIT
source scripts/xvfb.sh
start_xvfb
# Wine's desktop belongs to the display of the server's first program.
wineserver -k 2> /dev/null || true
wineserver -p

# Each program in its own application folder with placeholder databases.
programs=(minimal_window dbreset dbtransfer)
[ -n "${COMPARE:-}" ] && programs+=(dbreset_compare dbtransfer_compare)
for p in "${programs[@]}"; do
    exe=${p%_compare}.exe from=$build/bin
    [ "$p" != "${p%_compare}" ] && from=$COMPARE
    mkdir -p "$work/$p"
    cp "$from/$exe" "$work/$p/"
    for f in MARLOcon.mdb MARLOspm.mdb cvmdb1.bin cvmdb2.bin; do echo x > "$work/$p/$f"; done
    printf '%-15s %8s bytes, imports %s\n' "$p" "$(stat -c %s "$work/$p/$exe")" \
        "$(x86_64-w64-mingw32-objdump -p "$work/$p/$exe" |
        awk '/DLL Name/ {printf "%s ", $3}')"
done

declare -A caption=(
    [minimal_window]='^Minimal window$'
    [dbreset]='^MARLO-Corvane:  Reset Database files \?$'
    [dbtransfer]='^MARLO-Corvane: Import / Export Memory Database Files 1\.0$'
)
caption[dbreset_compare]=${caption[dbreset]} caption[dbtransfer_compare]=${caption[dbtransfer]}
declare -A times

measure() { # program -> microseconds from `wine` to its window mapped
    local p=$1 start end pid
    start=$(date +%s%N)
    (cd "$work/$p" && exec wine "${p%_compare}.exe") > /dev/null 2>&1 & pid=$!
    until xdotool search --onlyvisible --name "${caption[$p]}" > /dev/null 2>&1; do
        kill -0 $pid 2> /dev/null || { echo "$p ended before showing" >&2; exit 1; }
    done
    end=$(date +%s%N)
    kill $pid 2> /dev/null; wait $pid 2> /dev/null || true
    # The next round starts with no window of this one left.
    while xdotool search --name "${caption[$p]}" > /dev/null 2>&1; do sleep 0.02; done
    echo $(( (end - start) / 1000 ))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
fastest() { sort -n | head -1; }

for p in "${programs[@]}"; do measure "$p" > /dev/null; done # warm caches
for ((r = 0; r < rounds; r++)); do
    for p in "${programs[@]}"; do times[$p]+="$(measure "$p") "; done
done

# Other work on the machine only ever adds time: the fastest runs are the
# steadier figure where it is busy.
ref=$(echo ${times[minimal_window]} | tr ' ' '\n' | median)
ref_fast=$(echo ${times[minimal_window]} | tr ' ' '\n' | fastest)
printf '%-15s %12s %8s %12s %8s\n' program "median (s)" ratio "fastest (s)" ratio
for p in "${programs[@]}"; do
    t=$(echo ${times[$p]} | tr ' ' '\n' | median)
    f=$(echo ${times[$p]} | tr ' ' '\n' | fastest)
    awk -v p="$p" -v t=$t -v r=$ref -v f=$f -v rf=$ref_fast \
        'BEGIN {printf "%-15s %12.3f %8.3f %12.3f %8.3f\n", p, t/1e6, t/r, f/1e6, f/rf}'
done
echo "(of $rounds alternating rounds under Wine; ratios against minimal_window)"
