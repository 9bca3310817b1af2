#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts Monitor.exe
# under Wine with the simulated adapter.
#  - With a usable display it runs there until "Exit" in its tray menu.
#  - Without one it runs on a Wine virtual desktop under Xvfb, shows the
#    main window with each tab in front and the tray icon, writes the
#    screenshots to build/screenshots/ (it prints their paths) and ends.
#
#   scripts/run-monitor.sh [--native]
#
# --native runs it on the Native Wi-Fi library instead, from bin/wlantest/
# where the scripted stand-in of wlanapi.dll answers, with the demo of
# scripts/wlansim-demo.sh (screenshots then go to build/screenshots/native/).
# The programs are 32-bit; where Wine runs no 32-bit code the 64-bit build
# of the same sources runs instead (see scripts/run-tests.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
adapter=simulated
case "${1:-}" in
    "") ;;
    --native) adapter=native ;;
    *) echo "usage: $0 [--native]" >&2; exit 2 ;;
esac
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" i686
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
if wine_env_can_run 32; then
    build="$root/build" bits=32
else
    echo "== $WINE_ENV_WHY_NOT: running the 64-bit build (build/win64)."
    "$root/scripts/build.sh" x86_64
    build="$root/build/win64" bits=64
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export WINE_BUILD_DIR="$build" WINE_TARGET_BITS=$bits
    source "$root/scripts/wine-env.sh"
    wine_env_start
    cd "$build/bin"
    if [ "$adapter" = native ]; then
        "$root/scripts/wlansim-demo.sh" "$build"
        cd wlantest
        echo "The stand-in of wlanapi.dll has four networks in range; wlansim.exe in $PWD changes them."
    fi
    echo "Monitor.exe runs in the notification area; 'Exit' in its tray menu ends it."
    wine Monitor.exe
elif [ "$adapter" = native ]; then
    ADAPTER=native BUILD_DIR="$build" "$root/scripts/screenshots.sh" "$root/build/screenshots/native"
else
    BUILD_DIR="$build" "$root/scripts/screenshots.sh" "$root/build/screenshots"
fi
