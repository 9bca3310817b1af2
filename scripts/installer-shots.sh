#!/usr/bin/env bash
# A screenshot of the installer's first three pages side by side, for the
# README: build/dist/Wavelume-setup.exe runs interactively on a Wine virtual
# desktop on an Xvfb display of its own, is walked through its pages with
# Return and cancelled before it installs anything.
#
#   scripts/installer-shots.sh [OUT_DIR]     (default: docs/screenshots)
#
# Uses the build tree in BUILD_DIR (default: build/) and builds the installer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="$(mkdir -p "${1:-$root/docs/screenshots}" && cd "${1:-$root/docs/screenshots}" && pwd)"
setup="$build/dist/Wavelume-setup.exe"

if [ ! -f "$build/build.ninja" ]; then "$root/scripts/build.sh" >/dev/null; fi
cmake --build "$build" --target installer -j 2 >/dev/null

# A display of our own, never one that another program uses.
n="${SHOT_DISPLAY:-93}"
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

tmp="$(mktemp -d)"
setup_pid=""
cleanup() {
    if [ -n "$setup_pid" ] && kill -0 "$setup_pid" 2>/dev/null; then kill "$setup_pid" 2>/dev/null || true; fi
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

"$build/wine-run" explorer /desktop=WavelumeSetup,640x440 "Z:${setup//\//\\}" >/dev/null 2>&1 &
setup_pid=$!

# The installer's window, once it shows.
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^Wavelume Setup$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "installer-shots: the installer did not show" >&2; exit 1; }
sleep 1
desk=$(xwininfo -name "WavelumeSetup - Wine desktop" | awk '/Window id/ {print $4}')
read -r x y w h < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')

for page in 1 2 3; do   # welcome, components, folder
    import -display "$DISPLAY" -window "$desk" "$tmp/desk.png"
    convert "$tmp/desk.png" -crop "${w}x${h}+${x}+${y}" +repage "$tmp/page$page.png"
    [ $page -lt 3 ] && { xdotool key --window "$window" Return; sleep 1.5; }
done
convert "$tmp/page1.png" "$tmp/page2.png" "$tmp/page3.png" -background white -splice 6x0 +append -chop 6x0 \
    +repage "$out/installer.png"
echo "$out/installer.png"

# Cancel, and confirm (the question has the focus): nothing is installed.
xdotool key --window "$window" Escape || true
sleep 1
xdotool key Return || true
for _ in $(seq 50); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.1; done
