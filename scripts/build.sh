#!/usr/bin/env bash
# Configures (once) and builds a tree with the cross toolchain.
#   scripts/build.sh            the 32-bit programs into build/ (build/bin/Monitor.exe...)
#   scripts/build.sh x86_64     the same sources as 64-bit programs into build/win64/
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
arch="${1:-i686}"
case "$arch" in
    i686) build="${BUILD_DIR:-$root/build}" ;;
    x86_64) build="${BUILD_DIR_64:-$root/build/win64}" ;;
    *) echo "usage: $0 [i686|x86_64]" >&2; exit 2 ;;
esac
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j 2
