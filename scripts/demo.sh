#!/usr/bin/env bash
# Sets up, builds, lays out a demo application folder (demo-app/) and opens
# the tools there. Usage: scripts/demo.sh [dbtransfer|dbreset|both] [--fresh]
#   --fresh  lays the demo databases out anew (a reset or import changes them)
# Without a display the tools run on a virtual one (Xvfb) for a few seconds
# and a screenshot is written to demo-app/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."

which_tool=both
fresh=no
for arg in "$@"; do
    case "$arg" in
        dbtransfer|dbreset|both) which_tool=$arg ;;
        --fresh) fresh=yes ;;
        *) echo "usage: $0 [dbtransfer|dbreset|both] [--fresh]" >&2; exit 2 ;;
    esac
done

scripts/setup.sh build
app=demo-app
# The programs sit in the application folder itself, beside the databases.
cmake --install build --prefix "$(pwd)/$app" > /dev/null

if [ "$fresh" = yes ] || [ ! -f "$app/cvmdb1.bin" ]; then
    rm -f "$app"/*.mdb "$app"/*.bak "$app"/*.ba[2-5] "$app"/*.bin "$app/MARLOCON.started"
    placeholder() { { printf '%s\n' "$2"; head -c "$3" /dev/urandom; } > "$app/$1"; }
    placeholder MARLOcon.mdb "demo CON database (memory banks, logbook)" 300000
    placeholder MARLOspm.mdb "demo SPM database (skedbook)" 200000
    placeholder MARLOmdb.bak "demo CON database, backup generation 1" 250000
    placeholder MARLOspm.bak "demo SPM database, backup generation 1" 150000
    placeholder cvmdb1.bin "empty CON database template" 64000
    placeholder cvmdb2.bin "empty SPM database template" 64000
fi
# A stand-in for the main program: it records that it was started.
cat > "$app/MARLOCON.EXE" <<'STANDIN'
#!/bin/sh
echo "main program started $(date '+%Y-%m-%d %H:%M:%S') in $(pwd)" >> "$(dirname "$0")/MARLOCON.started"
STANDIN
chmod +x "$app/MARLOCON.EXE"

tools=()
case "$which_tool" in
    both) tools=(dbtransfer dbreset) ;;
    *) tools=("$which_tool") ;;
esac

declare -A caption=([dbtransfer]='Import / Export' [dbreset]='Reset Database files')
# The demo's own placing of the windows, which would otherwise both centre
# themselves, one over the other: side by side, centred together on the
# screen. X11 only (xdotool); elsewhere they stay where they opened.
window_of() { # caption pattern -> its window, once shown (10 s at most)
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" 2> /dev/null | head -1 | grep . && return 0
        sleep 0.1
    done
    return 1
}
place_side_by_side() { # tool...
    [ $# -gt 1 ] && [ -n "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] &&
        command -v xdotool > /dev/null || return 0
    local ids=() widths=() heights=() gap=24 total id x screen_w screen_h WIDTH HEIGHT
    total=$((gap * ($# - 1)))
    for t in "$@"; do
        id=$(window_of "${caption[$t]}") || return 0
        eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(WIDTH|HEIGHT)=')"
        ids+=("$id") widths+=("$WIDTH") heights+=("$HEIGHT")
        total=$((total + WIDTH))
    done
    read -r screen_w screen_h < <(xdotool getdisplaygeometry)
    x=$(((screen_w - total) / 2))
    [ $x -ge 0 ] || x=0
    for i in "${!ids[@]}"; do
        xdotool windowmove "${ids[$i]}" $x $(((screen_h - heights[i]) / 2))
        x=$((x + widths[i] + gap))
    done
}

echo "Demo application folder: $(pwd)/$app"
ls -l "$app"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    pids=()
    for t in "${tools[@]}"; do "$app/$t" & pids+=($!); done
    place_side_by_side "${tools[@]}"
    wait "${pids[@]}" || true
else
    echo "No display: running on a virtual one for a few seconds."
    source scripts/xvfb.sh
    start_xvfb
    trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
    openbox > /dev/null 2>&1 & wm=$!
    pids=()
    for t in "${tools[@]}"; do "$app/$t" & pids+=($!); done
    place_side_by_side "${tools[@]}"
    sleep 2
    import -window root "$app/screenshot.png"
    kill "${pids[@]}" 2>/dev/null || true
    kill "$wm" 2>/dev/null || true
    echo "Screenshot: $(pwd)/$app/screenshot.png"
fi
if [ -f "$app/MARLOCON.started" ]; then
    echo "The stand-in main program was started:"
    cat "$app/MARLOCON.started"
fi
