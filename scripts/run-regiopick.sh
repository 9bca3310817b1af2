#!/usr/bin/env bash
# The run command of Regiopick: installs what is missing, builds, and starts
# Regiopick.exe under Wine as an installation would, with one adapter of the
# supported model in the Wine prefix's registry. When the dialog is closed
# (OK, Esc or the close box all apply the choice) it prints what the program
# wrote into that adapter's settings and removes the adapter again.
#
#   scripts/run-regiopick.sh              on the current display, until the dialog is closed
#   scripts/run-regiopick.sh --shot DIR   on a display of its own: a screenshot of the dialog
#                                         to DIR/regiopick.png, then Esc (the default without
#                                         a display, into build/screenshots/)
#
# The programs are 32-bit; where Wine runs no 32-bit code the 64-bit build
# of the same sources runs instead (see scripts/run-tests.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
shot=""
if [ "${1:-}" = "--shot" ]; then shot="${2:?--shot needs a folder}"; fi
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" i686
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
build="${BUILD_DIR:-$root/build}"
if ! wine_env_can_run 32; then
    echo "== $WINE_ENV_WHY_NOT: running the 64-bit build (build/win64)."
    "$root/scripts/build.sh" x86_64
    build="${BUILD_DIR_64:-$root/build/win64}"
fi
if [ -z "$shot" ] && ! { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then shot="$root/build/screenshots"; fi

wine() { "$build/wine-run" "$@"; }
classes='HKLM\System\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}'
adapter="$classes\\0900"
had_classes=0
wine reg query "$classes" >/dev/null 2>&1 && had_classes=1
xvfb_pid="" desktop_pid=""
cleanup() {
    [ -n "$desktop_pid" ] && kill "$desktop_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    if [ "$had_classes" = 1 ]; then wine reg delete "$adapter" /f >/dev/null 2>&1 || true
    else wine reg delete "$classes" /f >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT
wine reg add "$adapter" /v DriverDesc /d "Trellon Wireless a/b/g PC Card (TRW-AG410)" /f >/dev/null
# A channel of an earlier installation that the choice may not allow.
wine reg add "$adapter\\Ndi\\Params\\SelectedChannel\\enum" /v 14 /d 14 /f >/dev/null

if [ -z "$shot" ]; then
    echo "Regiopick.exe runs; OK, Esc or the close box apply the chosen country."
    (cd "$build/bin" && wine Regiopick.exe)
else
    out="$(mkdir -p "$shot" && cd "$shot" && pwd)"
    # A display of our own, never one that another program uses.
    n="${SHOT_DISPLAY:-91}"
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    # A Wine virtual desktop draws the dialog's frame; it holds nothing else,
    # so trimming its plain background leaves the dialog.
    (cd "$build/bin" && exec "$build/wine-run" explorer /desktop=RegiopickShot,480x320 Regiopick.exe) >/dev/null 2>&1 &
    desktop_pid=$!
    for _ in $(seq 100); do xwininfo -name "RegiopickShot - Wine desktop" >/dev/null 2>&1 && break; sleep 0.3; done
    sleep 3
    raw="$(mktemp --suffix=.png)"
    import -display "$DISPLAY" -window "$(xwininfo -name "RegiopickShot - Wine desktop" | awk '/Window id/ {print $4}')" "$raw"
    box="$(convert "$raw" -format '%@' info:)"    # WxH+X+Y of the dialog
    convert "$raw" -crop "$box" +repage "$out/regiopick.png"
    rm -f "$raw"
    echo "$out/regiopick.png"
    # Activate the dialog by its caption and press Esc, which applies the choice.
    IFS='x+' read -r _ _ x y <<<"$box"
    read -r dx dy < <(xwininfo -name "RegiopickShot - Wine desktop" |
        awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
    xdotool mousemove $((dx + x + 60)) $((dy + y + 10)) click 1 sleep 0.5 key Escape
    for _ in $(seq 30); do wine reg query "$adapter" /v InstallFinish >/dev/null 2>&1 && break; sleep 0.5; done
fi
echo "== What Regiopick wrote into the adapter's settings:"
wine reg query "$adapter" /s | tr -d '\r'
