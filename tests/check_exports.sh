#!/usr/bin/env bash
# Monitor.exe exports exactly the five record operations, by their
# C++ names: constructors and copy-assignments of the two channel records
# and the copy-assignment of CWLANDevice.
set -euo pipefail
exe="$1"
exports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -o '_Z[A-Za-z0-9_]*' | sort)
expected=$(printf '%s\n' \
  _ZN11CWLANDeviceaSERKS_ \
  _ZN16tagMinMaxChannelC1Ev \
  _ZN16tagMinMaxChannelaSERKS_ \
  _ZN21tagCountryChannelInfoC1Ev \
  _ZN21tagCountryChannelInfoaSERKS_ | sort)
if [ "$exports" != "$expected" ]; then
    echo "unexpected export table:"; echo "$exports"; exit 1
fi
echo "5 exports as expected"
headers=$(i686-w64-mingw32-objdump -f -p "$exe")
grep -q 'file format pei-i386' <<<"$headers" || { echo "not a PE32 i686 program"; exit 1; }
grep -q 'Subsystem.*Windows GUI' <<<"$headers" || { echo "not a GUI program"; exit 1; }
echo "PE32 i686 GUI program"
