#!/usr/bin/env bash
# The Native Wi-Fi nicport.dll is a PE32 i686 DLL that exports every name
# the simulated one does, and the adapter-description export besides: the
# monitor loads either without a rebuild.
#   check_native_exports.sh SIMULATED_DLL NATIVE_DLL
set -euo pipefail
simulated="$1"; native="$2"
exports() {
    i686-w64-mingw32-objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -n 's/^\s*\[ *[0-9]*\] //p' | sort
}
headers=$(i686-w64-mingw32-objdump -f "$native")
grep -q 'file format pei-i386' <<<"$headers" || { echo "$native: not a PE32 i686 file"; exit 1; }
expected=$( (exports "$simulated"; echo NicportAdapterDescription) | sort)
actual=$(exports "$native")
if [ -z "$actual" ] || [ "$actual" != "$expected" ]; then
    echo "$native: exports differ from the simulated library's plus NicportAdapterDescription:"
    diff <(echo "$expected") <(echo "$actual") || true
    exit 1
fi
echo "PE32 i686 DLL: the simulated library's $(exports "$simulated" | wc -l) exports and NicportAdapterDescription"
