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

echo "Demo application folder: $(pwd)/$app"
ls -l "$app"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    pids=()
    for t in "${tools[@]}"; do "$app/$t" & pids+=($!); done
    wait "${pids[@]}" || true
else
    echo "No display: running on a virtual one for a few seconds."
    source scripts/xvfb.sh
    start_xvfb
    trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
    openbox > /dev/null 2>&1 & wm=$!
    pids=()
    for t in "${tools[@]}"; do "$app/$t" & pids+=($!); sleep 1; done
    sleep 3
    import -window root "$app/screenshot.png"
    kill "${pids[@]}" 2>/dev/null || true
    kill "$wm" 2>/dev/null || true
    echo "Screenshot: $(pwd)/$app/screenshot.png"
fi
if [ -f "$app/MARLOCON.started" ]; then
    echo "The stand-in main program was started:"
    cat "$app/MARLOCON.started"
fi
