#!/usr/bin/env bash
# Every measure of the monitor's cost against the do-nothing program, in one
# run, one line per measure:
#   benchmarks/run-benchmarks.sh [rounds=3] [idle-seconds=60]
# Runs under Wine on an Xvfb display of its own (the tray must hold only the
# icons of the programs measured), in the test build's prefix; the program
# sizes are those of the release build. Nothing here passes or fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds="${1:-3}"
idle="${2:-60}"
"$root/scripts/build.sh" i686 >/dev/null
"$root/scripts/build.sh" release >/dev/null
build="${BUILD_DIR:-$root/build}"
release="${BUILD_DIR_RELEASE:-$root/build/release}"

display_number=91
while [ -e "/tmp/.X$display_number-lock" ] || [ -e "/tmp/.X11-unix/X$display_number" ]; do
    display_number=$((display_number + 1))
done
Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=":$display_number"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

export WINE_BUILD_DIR="$build" WINE_TARGET_BITS=32
# shellcheck source=../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env_start
server_pid=""
for pid in $(pgrep wineserver); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then server_pid=$pid; fi
done

cd "$build/bin"
echo "== The monitor against the do-nothing program ($rounds rounds, $idle s idle each)"
wine ./bench_idle.exe "$rounds" "$idle" "${server_pid:-0}" "$xvfb_pid" | tr -d '\r'
echo "== Survey of 1,000 networks"
wine ./survey_bench.exe 5 | tr -d '\r' | tail -1
echo "== Registry"
wine ./bench_tray_profiles.exe | tr -d '\r' | grep -E 'per menu opening|during the burst'
echo "== Release build, stripped"
for file in "$release"/bin/Monitor.exe "$release"/bin/Regiopick.exe "$release"/bin/nicport.dll "$release"/bin/nicsim.exe; do
    printf '%-16s %8d bytes\n' "$(basename "$file")" "$(stat -c %s "$file")"
done
