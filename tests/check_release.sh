#!/usr/bin/env bash
# The shipped programs of a release build: 32-bit Windows files that need no
# MinGW runtime DLL, with Monitor.exe's export table as it must be. Prints
# each file's size.
set -euo pipefail
dir="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# What a program of this system may import: Windows itself and the device library.
allowed='^(advapi32|comctl32|gdi32|kernel32|msvcrt|shell32|user32|version|ws2_32|iphlpapi|msimg32|setupapi|nicport)\.dll$'
status=0
for file in "$dir"/*.exe "$dir"/*.dll; do
    [ -e "$file" ] || continue
    name=$(basename "$file")
    headers=$(i686-w64-mingw32-objdump -f -p "$file")
    if ! grep -q 'file format pei-i386' <<<"$headers"; then echo "$name: not a PE32 i686 file"; status=1; fi
    while read -r dll; do
        if ! grep -qiE "$allowed" <<<"$dll"; then echo "$name: imports $dll"; status=1; fi
    done < <(grep 'DLL Name:' <<<"$headers" | awk '{print $3}')
    printf '%-16s %8d bytes\n' "$name" "$(stat -c %s "$file")"
done
"$here/check_exports.sh" "$dir/Monitor.exe" >/dev/null || { echo "Monitor.exe: export table"; status=1; }
# The Native Wi-Fi library in its own folder: the simulated one's exports and
# the description export, and nothing imported beyond Windows itself.
native="$dir/native/nicport.dll"
if [ -e "$native" ]; then
    "$here/check_native_exports.sh" "$dir/nicport.dll" "$native" || status=1
    while read -r dll; do
        if ! grep -qiE "$allowed" <<<"$dll" || grep -qi '^nicport' <<<"$dll"; then echo "native/nicport.dll: imports $dll"; status=1; fi
    done < <(i686-w64-mingw32-objdump -p "$native" | grep 'DLL Name:' | awk '{print $3}')
    printf '%-16s %8d bytes\n' "native/nicport.dll" "$(stat -c %s "$native")"
else
    echo "native/nicport.dll: missing"; status=1
fi
exit $status
