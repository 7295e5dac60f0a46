#!/usr/bin/env bash
# Builds the Windows programs and packs them for users: dist/ gets a zip of
# dbreset.exe, dbtransfer.exe and a short text on where to put them. Stops
# when a program would need a DLL beyond Windows' own.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake

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
    cp "build-win/bin/$exe" "$stage/"
    # Windows' own DLLs only: nothing of the MinGW runtime (lib*.dll).
    if x86_64-w64-mingw32-objdump -p "$stage/$exe" | grep "DLL Name" | grep -qi "lib.*\.dll"; then
        echo "$exe needs a MinGW DLL:" >&2
        x86_64-w64-mingw32-objdump -p "$stage/$exe" | grep "DLL Name" >&2
        exit 1
    fi
done
# The text in Windows' line endings, for Notepad; a description's trailing
# blank stays out of it.
sed 's/$/\r/' > "$stage/README.txt" <<TEXT
MARLO-Corvane database tools for Windows, version $version

dbreset.exe     ${reset_description% }
dbtransfer.exe  ${transfer_description% }

Where to put them: copy both files into the folder of the main program,
MARLOCON.EXE, the folder that holds its databases MARLOCON.MDB and
MARLOSPM.MDB and the empty templates cvmdb1.bin and cvmdb2.bin. Start them
from there: they work on the databases in their own folder, and "Cancel"
(dbreset) or "Exit (Restart MARLO-Corvane)" (dbtransfer) starts the main
program from that folder.

Nothing to install: each program is one file and needs nothing else.
TEXT
(cd dist && rm -f "$(basename "$stage").zip" && zip -q -X -r "$(basename "$stage").zip" "$(basename "$stage")")
echo "Made $(pwd)/$stage.zip:"
unzip -l "$stage.zip"
