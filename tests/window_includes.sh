#!/usr/bin/env bash
# The windows reach the host file layer only through the core's FileSystem.h:
# no file of a window folder includes a header of common/hostfiles/posix or
# common/hostfiles/win32. The build refuses the bare name, as the layer's folder is on
# no window's include path; this finds a path that would get around it
# ("win32/WinCopy.h", "../posix/PosixFd.h").
set -euo pipefail
cd "$1"
layer=$(basename -a common/hostfiles/posix/*.h common/hostfiles/win32/*.h | paste -sd'|')
if grep -rnE "^\s*#\s*include\s*[\"<]([^\">]*/)?($layer)[\">]" \
        common/toolkit/qt common/toolkit/winui reset/qt reset/winui transfer/qt transfer/winui; then
    echo "a window includes the host file layer (above); go through FileSystem.h" >&2
    exit 1
fi
