#!/bin/sh
# One virtual X display for the Windows window tests, shared by all of them.
#   display.sh start FILE      starts Xvfb, notes its display and process in FILE
#   display.sh stop FILE       ends it
#   display.sh run FILE PREFIX CMD...
#                              runs CMD on it, alone in the Wine prefix PREFIX:
#                              Wine's desktop takes the display of the first
#                              program that starts it, so the prefix's server
#                              must have ended before, and is ended after
set -eu
verb=$1 file=$2
shift 2
case $verb in
start)
    fd=$(mktemp)
    setsid Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 3> "$fd" > /dev/null 2>&1 < /dev/null &
    for _ in $(seq 200); do [ -s "$fd" ] && break; sleep 0.05; done
    [ -s "$fd" ] || { echo "Xvfb did not start"; rm -f "$fd"; exit 1; }
    echo "$(cat "$fd") $!" > "$file"
    rm -f "$fd"
    ;;
stop)
    [ -f "$file" ] && kill "$(cut -d' ' -f2 "$file")" 2> /dev/null || true
    rm -f "$file"
    ;;
run)
    DISPLAY=":$(cut -d' ' -f1 "$file")"
    WINEPREFIX=$1
    export DISPLAY WINEPREFIX
    shift
    wineserver -w
    status=0
    "$@" || status=$?
    wineserver -k 2> /dev/null || true
    exit $status
    ;;
esac
