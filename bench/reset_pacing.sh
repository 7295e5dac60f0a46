#!/usr/bin/env bash
# Reset pacing with the real clock: from the press of "RESET NOW !" to the
# closing message, in the real dbreset on Xvfb, against the nominal sum of
# the pauses, for every rotation case: no backup generation (7.5 s), then one
# to five generations of both databases (150, 250, 350, 450 or 550 ms more).
# Live databases of 1 MiB, and of 1 GiB with one generation.
# Usage: bench/reset_pacing.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}

build=${BUILD_DIR:-build}
scripts/setup.sh "$build" > /dev/null


work=$(mktemp -d -p "${TMPDIR:-/var/tmp}")
trap 'kill ${xvfb_pid:-} 2>/dev/null; rm -rf "$work"' EXIT
source scripts/xvfb.sh
start_xvfb
nominal_of_case=(7500 7650 7750 7850 7950 8050)

run_once() { # size generations -> milliseconds from the press to the closing message
    local size=$1 generations=$2 app="$work/app" pid start end g suffix
    rm -rf "$app"; mkdir -p "$app"
    cp "$build"/bin/dbreset "$app/"
    fallocate -l "$size" "$app/MARLOcon.mdb"
    fallocate -l "$size" "$app/MARLOspm.mdb"
    for ((g = 1; g <= generations; g++)); do
        suffix=$([ $g -eq 1 ] && echo bak || echo ba$g)
        fallocate -l "$size" "$app/MARLOmdb.$suffix"
        fallocate -l "$size" "$app/MARLOspm.$suffix"
    done
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
    [ -f "$app/MARLOmdb.bak" ] || { echo "the reset kept no backup" >&2; exit 1; }
    echo $(( (end - start) / 1000000 ))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

declare -A results
runs=("1M 0" "1M 1" "1M 2" "1M 3" "1M 4" "1M 5" "1G 1")
for ((r = 0; r < rounds; r++)); do
    for run in "${runs[@]}"; do results[$run]+="$(run_once $run) "; done
done
for run in "${runs[@]}"; do
    read -r size generations <<< "$run"
    ms=$(echo ${results[$run]} | tr ' ' '\n' | median)
    awk -v s=$size -v g=$generations -v ms=$ms -v n=${nominal_of_case[$generations]} \
        'BEGIN {printf "%s live databases, %d generations: %d ms to the closing message, nominal %d ms, %+d ms (%.3f of nominal)\n", s, g, ms, n, ms - n, ms / n}'
done
echo "(medians of $rounds rounds; goal: at most 400 ms over nominal in every case)"
