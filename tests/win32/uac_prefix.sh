#!/bin/sh
# A Wine prefix of its own with UAC on, for the tests of Windows' file
# virtualisation; the shared prefix keeps UAC off, as Wine has it.
set -e
export WINEPREFIX="$1" WINEDEBUG=-all
wineboot -i >/dev/null 2>&1
wine reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System' \
    /v EnableLUA /t REG_DWORD /d 1 /f >/dev/null 2>&1
wineserver -w
