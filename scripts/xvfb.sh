# Sourced by the demo and the benchmarks: starts a virtual X display on a free number,
# exports DISPLAY, and stops it when the script ends.
start_xvfb() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 3> "$fdfile" > /dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$fdfile")" QT_QPA_PLATFORM=xcb
    rm -f "$fdfile"
}
