#!/usr/bin/env bash
# Screenshots of the monitor for the docs: the main window with each tab in
# front, the tray icon in the taskbar, its tooltip and its menu.
#
#   scripts/screenshots.sh [OUT_DIR]      (default: docs/screenshots)
#
# Runs Monitor.exe with the simulated adapter's demo state and three profiles
# on a Wine virtual desktop (which draws window frames and a taskbar with the
# notification area) on an Xvfb display of its own, drives it with
# mainwnd_shotdriver.exe and cuts the pictures out of captures of the display.
# Uses the build tree in BUILD_DIR (default: build/) and builds what it needs.
# ADAPTER=native runs the monitor from bin/wlantest/ on the Native Wi-Fi
# library and the stand-in wlanapi.dll, with scripts/wlansim-demo.sh's demo.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="$(mkdir -p "${1:-$root/docs/screenshots}" && cd "${1:-$root/docs/screenshots}" && pwd)"
desktop_name="WavelumeShots"
desktop_size="760x560"

adapter="${ADAPTER:-simulated}"
if [ ! -f "$build/build.ninja" ]; then "$root/scripts/build.sh" >/dev/null; fi
if [ "$adapter" = native ]; then
    cmake --build "$build" --target wlantest_folder mainwnd_shotdriver -j 2 >/dev/null
    program_dir="$build/bin/wlantest"
else
    cmake --build "$build" --target Monitor nicsim mainwnd_shotdriver -j 2 >/dev/null
    program_dir="$build/bin"
fi

# A display of our own, so that nothing else draws into the pictures.
# A display in use by another program is skipped, never shared.
display_number="${SHOT_DISPLAY:-93}"
while [ -e "/tmp/.X$display_number-lock" ] || [ -e "/tmp/.X11-unix/X$display_number" ]; do
    display_number=$((display_number + 1))
done
Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display_number"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "screenshots: Xvfb could not start on :$display_number" >&2
    exit 1
fi

# The build tree's Wine: its own prefix, of the programs' width.
wine() { "$build/wine-run" "$@"; }

tmp="$(mktemp -d)"
monitor_pid=""
cleanup() {
    if [ -n "$monitor_pid" ] && kill -0 "$monitor_pid" 2>/dev/null; then
        driver exit >/dev/null 2>&1 || true
        sleep 1
        kill "$monitor_pid" 2>/dev/null || true
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

driver() { SHOT_DESKTOP="$desktop_name" wine "$build/bin/mainwnd_shotdriver.exe" "$@" 2>/dev/null | tr -d '\r'; }
capture() { import -display "$DISPLAY" -window root "$tmp/screen.png"; }
# crop NAME X Y W H [SCALE]: a part of the last capture, in virtual desktop
# coordinates, optionally magnified.
crop() {
    local name=$1 x=$(($2 + desk_x)) y=$(($3 + desk_y)) w=$4 h=$5 scale=${6:-100}
    convert "$tmp/screen.png" -crop "${w}x${h}+${x}+${y}" +repage -scale "${scale}%" "$out/$name.png"
    echo "$out/$name.png"
}

# The demo: the simulator's lively default adapter (or the stand-in's
# networks) and three profiles.
if [ "$adapter" = native ]; then
    "$root/scripts/wlansim-demo.sh" "$build"
else
    wine "$build/bin/nicsim.exe" reset >/dev/null
fi
profiles='HKLM\SOFTWARE\DoDizir\Wavelume\Profiles'
wine reg delete "$profiles" /f >/dev/null 2>&1 || true
for entry in DEFAULT:ANY Home:WaveNet-Home Office:CORP-5G; do
    wine reg add "$profiles\\${entry%%:*}" /v ssid /d "${entry#*:}" /f >/dev/null
    wine reg add "$profiles\\${entry%%:*}" /v operatingmode /t REG_DWORD /d 1 /f >/dev/null
done
# Home uses a WEP key, so its Security sub-page has something to show.
wine reg add "$profiles\\Home" /v authype /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$profiles\\Home" /v wep.level /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$profiles\\Home" /v wep.key1 /d 0A1B2C3D4E /f >/dev/null
wine reg add "$profiles" /v profile /d Home /f >/dev/null

(cd "$program_dir" && exec "$build/wine-run" explorer "/desktop=$desktop_name,$desktop_size" Monitor.exe) >/dev/null 2>&1 &
monitor_pid=$!
driver wait
sleep 3  # the first ticks: tray icon and tooltip

# Where the virtual desktop sits on the display.
read -r desk_x desk_y < <(xwininfo -name "$desktop_name - Wine desktop" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')

# The notification area: the right end of the taskbar, with the icon's
# tooltip (the pointer resting on the icon), then with its menu.
read -r tx ty tw th < <(driver tray)
icon_x=$((desk_x + tx + tw - 14))
icon_y=$((desk_y + ty + th / 2))
capture
crop tray "$((tx + tw - 100))" "$ty" 100 "$th" 300
xdotool mousemove "$icon_x" "$icon_y"
sleep 2
capture
crop tray-tooltip "$((tx + tw - 300))" "$((ty - 90))" 300 "$((th + 90))"
xdotool click 3
sleep 1.5
capture
crop tray-menu "$((tx + tw - 300))" "$((ty - 190))" 300 "$((th + 190))"
xdotool key Escape
xdotool mousemove 10 10
sleep 0.5

# The main window with each tab in front.
read -r wx wy ww wh < <(driver show)
names=(configuration link-information ip-information site-survey version-information)
for tab in 0 1 2 3 4; do
    read -r wx wy ww wh < <(driver tab "$tab")
    capture
    crop "tab-$tab-${names[$tab]}" "$wx" "$wy" "$ww" "$wh"
done
# The configuration page's Security and Advanced sub-pages.
read -r wx wy ww wh < <(driver tab 0)
for sub in 1:security 2:advanced; do
    read -r wx wy ww wh < <(driver subtab "${sub%%:*}")
    capture
    crop "config-${sub#*:}" "$wx" "$wy" "$ww" "$wh"
done

driver exit >/dev/null || true
wine reg delete "$profiles" /f >/dev/null 2>&1 || true
# The desktop's explorer stays after the monitor has gone; cleanup ends it.
sleep 2
