#!/usr/bin/env bash
# Reset pacing with the real clock: from the press of "RESET NOW !" to the
# closing message, in the real dbreset on Xvfb, against the nominal sum of
# the pauses (7.5 s, plus 150 ms for the one backup generation present), with
# 1 MiB and with 1 GiB live databases. Usage: bench/reset_pacing.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}

build=${BUILD_DIR:-build}
scripts/setup.sh "$build" > /dev/null


work=$(mktemp -d -p "${TMPDIR:-/var/tmp}")
trap 'kill ${xvfb_pid:-} 2>/dev/null; rm -rf "$work"' EXIT
source scripts/xvfb.sh
start_xvfb
nominal_ms=7650

run_once() { # size -> milliseconds from the press to the closing message
    local size=$1 app="$work/app" pid start end
    rm -rf "$app"; mkdir -p "$app"
    cp "$build"/bin/dbreset "$app/"
    fallocate -l "$size" "$app/MARLOcon.mdb"
    fallocate -l "$size" "$app/MARLOspm.mdb"
    fallocate -l "$size" "$app/MARLOmdb.bak"
    fallocate -l "$size" "$app/MARLOspm.bak"
    head -c 65536 /dev/urandom > "$app/cvmdb1.bin"
    head -c 65536 /dev/urandom > "$app/cvmdb2.bin"
    sync
    "$app/dbreset" > /dev/null 2>&1 & pid=$!
    local wid
    until wid=$(xdotool search --onlyvisible --name '^MARLO-Corvane:  Reset Database files \?$' 2> /dev/null); do sleep 0.01; done
    sleep 0.5
    # The press lands while xdotool runs: take the middle of its run.
    local before after
    before=$(date +%s%N)
    xdotool key --window "$wid" Return
    after=$(date +%s%N)
    start=$(( (before + after) / 2 ))
    until xdotool search --onlyvisible --name '^MARLO-Corvane:$' > /dev/null 2>&1; do :; done
    end=$(date +%s%N)
    kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
    [ -f "$app/MARLOmdb.ba2" ] || { echo "the reset did not rotate" >&2; exit 1; }
    echo $(( (end - start) / 1000000 ))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

declare -A results
for ((r = 0; r < rounds; r++)); do
    for size in 1M 1G; do results[$size]+="$(run_once $size) "; done
done
for size in 1M 1G; do
    ms=$(echo ${results[$size]} | tr ' ' '\n' | median)
    awk -v s=$size -v ms=$ms -v n=$nominal_ms \
        'BEGIN {printf "%s live databases: %d ms to the closing message, nominal %d ms, %+.2f %%\n", s, ms, n, (ms/n - 1) * 100}'
done
echo "(medians of $rounds rounds; goal: at most 1 % over nominal, the same for both sizes)"
