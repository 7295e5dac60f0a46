#!/bin/sh
# Every call a program imports from a DLL must be one that Windows 7 SP1
# already has, or the program does not start there at all ("The procedure
# entry point ... could not be located"). A call of a later Windows is loaded
# at run time (SystemDll) instead. Prints each import not in the list.
#   system_imports.sh OBJDUMP LIST PROGRAM...
set -eu
objdump=$1 list=$2
shift 2
allowed=$(mktemp)
trap 'rm -f "$allowed"' EXIT
# The list: "DLL call" per line, blank lines and #-comments aside.
sed -e 's/#.*//' "$list" | awk 'NF >= 2 { print toupper($1) " " $2 }' | sort -u > "$allowed"
status=0
for program in "$@"; do
    # objdump -p prints each DLL's name, then a line per call: its address,
    # its hint and its name, or the ordinal alone for a call by number.
    imports=$("$objdump" -p "$program" | awk '
        /DLL Name:/ { dll = toupper($3); next }
        /^\tvma:/ { next }
        dll != "" && /^\t[0-9a-f]+\t/ { print dll " " (NF >= 3 ? $NF : "ordinal-" $2) }
        /^$/ { dll = "" }' | sort -u)
    if [ -z "$imports" ]; then
        echo "$program: no imports found"
        status=1
        continue
    fi
    missing=$(printf '%s\n' "$imports" | comm -23 - "$allowed")
    if [ -n "$missing" ]; then
        echo "$program imports calls not known to Windows 7 SP1 (load them at run time):"
        printf '%s\n' "$missing" | sed 's/^/  /'
        status=1
    fi
done
exit $status
