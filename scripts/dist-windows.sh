#!/usr/bin/env bash
# Builds the Windows programs and packs them for users: dist/ gets a zip of
# dbreset.exe, dbtransfer.exe, their SHA-256 checksums and a short text on
# where to put them. The programs are the 32-bit build, the one that runs on
# every Windows from 7 SP1 on: 32-bit and 64-bit, and Windows on ARM, whose
# emulation runs 32-bit programs on every version but 64-bit ones only on
# Windows 11. Stops when a program would need a DLL beyond Windows' own, or
# a call that Windows 7 lacks.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-win32
scripts/setup.sh $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DMARLO_BUILD_BENCH=OFF

# The version and the descriptions, from where the build takes them.
{
    IFS= read -r version
    IFS= read -r reset_description
    IFS= read -r transfer_description
} < <(cmake -P cmake/ProgramIdentity.cmake)

stage=dist/marlo-dbtools-$version-windows
rm -rf "$stage" "$stage.zip"
mkdir -p "$stage"
for exe in dbreset.exe dbtransfer.exe; do
    cp "$build/bin/$exe" "$stage/"
    # Windows' own DLLs only: nothing of the MinGW runtime (lib*.dll).
    if i686-w64-mingw32-objdump -p "$stage/$exe" | grep "DLL Name" | grep -qi "lib.*\.dll"; then
        echo "$exe needs a MinGW DLL:" >&2
        i686-w64-mingw32-objdump -p "$stage/$exe" | grep "DLL Name" >&2
        exit 1
    fi
done
tests/win32/system_imports.sh i686-w64-mingw32-objdump tests/win32/windows7_imports.txt \
    "$stage/dbreset.exe" "$stage/dbtransfer.exe" >&2
# Windows' line endings, for Notepad; `sha256sum -c SHA256SUMS.txt` reads
# them too.
(cd "$stage" && sha256sum dbreset.exe dbtransfer.exe) | sed 's/$/\r/' > "$stage/SHA256SUMS.txt"
# The text in Windows' line endings, for Notepad; a description's trailing
# blank stays out of it.
sed 's/$/\r/' > "$stage/README.txt" <<TEXT
MARLO-Corvane database tools for Windows, version $version

dbreset.exe     ${reset_description% }
dbtransfer.exe  ${transfer_description% }

They run on Windows 7 SP1, 8, 8.1, 10 and 11, 32-bit and 64-bit alike,
and on Windows on ARM through Windows' own emulation. Nothing to install:
each program is one file and needs nothing else.

Where to put them: copy both files into the folder of the main program,
MARLOCON.EXE, the folder that holds its databases MARLOCON.MDB and
MARLOSPM.MDB and the empty templates cvmdb1.bin and cvmdb2.bin. Start them
from there: they work on the databases in their own folder, and "Cancel"
(dbreset) or "Exit (Restart MARLO-Corvane)" (dbtransfer) starts the main
program from that folder.

Under Program Files: when Windows runs an older 32-bit MARLOCON.EXE
installed there, it keeps that program's databases as copies in
%LOCALAPPDATA%\\VirtualStore\\Program Files (x86)\\... (on 32-bit
Windows: ...\\VirtualStore\\Program Files\\...), and the tools work on
those copies, the ones MARLOCON.EXE sees. The tools never change the
installed files under Program Files.

The first start: the programs are not signed, so Windows 8 and later may
say "Windows protected your PC". Click "More info", check that it names
the app dbreset.exe or dbtransfer.exe, then click "Run anyway". Windows 7
asks "The publisher could not be verified. Are you sure you want to run
this software?": click "Run". To start them without these questions,
right-click the zip file before unpacking it, choose Properties, tick
"Unblock" (or press the button of that name) and click OK.

Checksums: SHA256SUMS.txt holds the SHA-256 checksum of each program. To
check one, open a command prompt in its folder and type
    certutil -hashfile dbreset.exe SHA256
(or dbtransfer.exe), then compare the answer with its line in
SHA256SUMS.txt and with the checksum published where you got the zip.
TEXT
(cd dist && rm -f "$(basename "$stage").zip" && zip -q -X -r "$(basename "$stage").zip" "$(basename "$stage")")
# The checksums in the zip are those of the programs in it.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$stage.zip" -d "$unpacked"
(cd "$unpacked/$(basename "$stage")" && sha256sum --quiet -c SHA256SUMS.txt)
echo "Made $(pwd)/$stage.zip:"
unzip -l "$stage.zip"
echo "The programs' SHA-256 checksums, to publish beside the zip:"
tr -d '\r' < "$stage/SHA256SUMS.txt"
