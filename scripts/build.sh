#!/usr/bin/env bash
# Configures (once) and builds a tree with the cross toolchain.
#   scripts/build.sh            the 32-bit programs into build/ (build/bin/Monitor.exe...)
#   scripts/build.sh x86_64     the same sources as 64-bit programs into build/win64/
#   scripts/build.sh release    the 32-bit programs as shipped into build/release/
#                               (size-optimised, stripped, no tests)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
arch="${1:-i686}"
config=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
case "$arch" in
    i686) build="${BUILD_DIR:-$root/build}" ;;
    x86_64) build="${BUILD_DIR_64:-$root/build/win64}" ;;
    release) build="${BUILD_DIR_RELEASE:-$root/build/release}"; arch=i686
             config=(-DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF) ;;
    *) echo "usage: $0 [i686|x86_64|release]" >&2; exit 2 ;;
esac
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" "${config[@]}" >/dev/null
fi
cmake --build "$build" -j 2
