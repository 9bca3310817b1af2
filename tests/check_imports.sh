#!/usr/bin/env bash
# A PE32 i686 GUI program that imports from the listed DLLs and no other
# (so no MinGW runtime DLL) and exports nothing.
#   check_imports.sh PROGRAM DLL...
set -euo pipefail
exe="$1"; shift
headers=$(i686-w64-mingw32-objdump -f -p "$exe")
grep -q 'file format pei-i386' <<<"$headers" || { echo "not a PE32 i686 program"; exit 1; }
grep -q 'Subsystem.*Windows GUI' <<<"$headers" || { echo "not a GUI program"; exit 1; }
imports=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | sort -f)
allowed=$(printf '%s\n' "$@" | sort -f)
unexpected=$(comm -23 <(tr 'A-Z' 'a-z' <<<"$imports") <(tr 'A-Z' 'a-z' <<<"$allowed"))
if [ -n "$unexpected" ]; then echo "imports beyond the system's DLLs:"; echo "$unexpected"; exit 1; fi
if grep -q '\[Ordinal/Name Pointer\] Table' <<<"$headers"; then echo "exports something"; exit 1; fi
echo "PE32 i686 GUI program importing only:" $imports
