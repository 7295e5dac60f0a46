#!/usr/bin/env bash
# `cmake --install` lays out a complete application folder, with desktop
# entries that start each tool from there, also under a path with blanks, and
# only where a prefix was given.
set -euo pipefail
build=$1
prefix=$(mktemp -d)/"Radio Tools"
trap 'rm -rf "$(dirname "$prefix")"' EXIT
# Without a prefix the default would become the application folder: refused.
if cmake --install "$build" > /dev/null 2>&1; then
    echo "installed without a prefix"; exit 1
fi
cmake --install "$build" --prefix "$prefix" > /dev/null
for f in dbreset dbtransfer marlo-icon.png dbreset.desktop dbtransfer.desktop; do
    [ -e "$prefix/$f" ] || { echo "missing: $f"; exit 1; }
done
[ -x "$prefix/dbreset" ] && [ -x "$prefix/dbtransfer" ]
grep -qx "Exec=\"$prefix/dbreset\"" "$prefix/dbreset.desktop"
grep -qx "Exec=\"$prefix/dbtransfer\"" "$prefix/dbtransfer.desktop"
grep -qx "Path=$prefix" "$prefix/dbtransfer.desktop"
grep -qx "Icon=$prefix/marlo-icon.png" "$prefix/dbreset.desktop"
grep -qx "Comment=MARLO-Corvane Database Reset Engine" "$prefix/dbreset.desktop"
grep -qx "Comment=MARLO-Corvane Database Import/Export Module" "$prefix/dbtransfer.desktop"
echo "installed layout complete in '$prefix'"
