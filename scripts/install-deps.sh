#!/usr/bin/env bash
# Installs what the build and the tests need on Debian (bookworm), as root.
# Does nothing when everything is already there.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev)
# The 64-bit compilers build the test tree where the kernel runs no 32-bit code.
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev)
[ -x /usr/lib/wine/wine64 ] || need+=(wine wine64)
# Wine's 32-bit loader; on a kernel without 32-bit support it cannot run
# (the tests then use the 64-bit tree), so its install may not stop us.
need32=()
[ -x /usr/lib/wine/wine ] || need32+=(wine32:i386)
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

if [ ${#need[@]} -eq 0 ] && [ ${#need32[@]} -eq 0 ]; then exit 0; fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${need[*]} ${need32[*]}; run this script as root to install them." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
apt-get update -qq
if [ ${#need[@]} -gt 0 ]; then apt-get install -y -qq "${need[@]}" >/dev/null; fi
if [ ${#need32[@]} -gt 0 ]; then
    apt-get install -y -qq "${need32[@]}" >/dev/null 2>&1 ||
        echo "note: ${need32[*]} did not install cleanly; 32-bit Wine will not be used" >&2
fi
