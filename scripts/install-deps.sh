#!/usr/bin/env bash
# Installs what the build and the tests need on Debian (bookworm), as root.
# Does nothing when everything is already there.
#
#  - Every package in `need` is required: the build or the tests cannot do
#    without it. One that does not install is named, with apt's reason, and
#    the script fails.
#  - 32-bit Wine is optional: without it the Wine tests run on the 64-bit
#    build of the same sources. A failed attempt is noted once and
#    remembered in the build tree (BUILD_DIR, default build/) for a day;
#    while nothing required is missing, runs in that time call no apt at
#    all. Deleting the note, or anything required going missing, tries again.
#  - A package list that does not update is a warning: apt installs from
#    the lists it has.
# WINE_LIB_DIR names another place of Wine's loaders (default /usr/lib/wine).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
wine_lib="${WINE_LIB_DIR:-/usr/lib/wine}"
marker="${BUILD_DIR:-$root/build}/wine32-not-installed"

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev)
# The 64-bit compilers build the test tree where Wine runs no 32-bit code.
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev)
[ -x "$wine_lib/wine64" ] || need+=(wine wine64)
have Xvfb || need+=(xvfb)
have xdpyinfo || need+=(x11-utils)
have xdotool || need+=(xdotool)
have import || need+=(imagemagick)
have cmake || need+=(cmake)
have ninja || need+=(ninja-build)
have python3 || need+=(python3)
have chmcmd || need+=(fp-utils)
have makensis || need+=(nsis)
have flock || need+=(util-linux)
[ -d /usr/src/googletest ] || need+=(googletest)

optional=()
[ -x "$wine_lib/wine" ] || optional+=(wine32:i386)
if [ ${#need[@]} -eq 0 ] && [ -n "$(find "$marker" -mmin -1440 2>/dev/null)" ]; then optional=(); fi

if [ ${#need[@]} -eq 0 ] && [ ${#optional[@]} -eq 0 ]; then exit 0; fi

if [ "$(id -u)" -ne 0 ]; then
    if [ ${#need[@]} -gt 0 ]; then
        echo "Missing packages: ${need[*]}; run this script as root to install them." >&2
        exit 1
    fi
    echo "note: 32-bit Wine (${optional[*]}) is not installed; run this script as root to install it." >&2
    exit 0
fi

# Why apt failed, in one line: the last error line (or last line) of its
# output $1; the first one with $2 = head.
apt_reason() {
    local line
    line="$(sed -n 's/^E: //p' <<<"$1" | "${2:-tail}" -n 1)"
    [ -n "$line" ] || line="$(sed '/^[[:space:]]*$/d' <<<"$1" | tail -n 1)"
    line="${line%.}"
    echo "${line:-no message}"
}
# Installs quietly, never removing a package to make room (32-bit Wine
# may ask for that where the i386 lists lag behind); on failure `failed`
# holds apt's reason.
failed=""
apt_install() {
    local out
    out="$(apt-get install -y -qq --no-remove "$@" 2>&1 >/dev/null)" && return 0
    failed="$(apt_reason "$out")"
    return 1
}

export DEBIAN_FRONTEND=noninteractive
if [ ${#optional[@]} -gt 0 ] && ! grep -qx i386 <<<"$(dpkg --print-foreign-architectures)"; then
    dpkg --add-architecture i386
fi
if ! out="$(apt-get update -qq 2>&1)"; then
    echo "warning: not every package list updated ($(apt_reason "$out" head)); going on with the lists apt has" >&2
fi

if [ ${#need[@]} -gt 0 ]; then
    echo "== Installing ${need[*]}"
    if ! apt_install "${need[@]}"; then
        # One package apt cannot install stops the whole transaction: one
        # by one, the others install and the culprit is named.
        status=0
        for pkg in "${need[@]}"; do
            apt_install "$pkg" && continue
            echo "error: the required package $pkg did not install: $failed" >&2
            status=1
        done
        [ $status -eq 0 ] || exit 1
    fi
fi

if [ ${#optional[@]} -gt 0 ]; then
    if apt_install "${optional[@]}"; then
        rm -f "$marker"
    else
        { mkdir -p "$(dirname "$marker")" && echo "$failed" >"$marker"; } 2>/dev/null || true
        echo "note: 32-bit Wine (${optional[*]}) did not install: $failed; the Wine tests run on the 64-bit build." \
             "Not tried again for a day while nothing else is missing (delete $marker to try sooner)." >&2
    fi
fi
